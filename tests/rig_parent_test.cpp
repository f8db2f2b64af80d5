// A rig's chosen "parent" for a skelegon, and the warning for a pivot a hair
// off another skelegon's tip, seen through `sinewrig run`: what is refused,
// what is warned about, and how the muscle's channels move with the parent.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>
#include <utility>
#include <vector>

#include "tests/scratch_folder.h"

namespace {

// An upper arm along +X with a forearm on its tip, the upper arm turned 40°
// in heading by frame 10; a muscle lying along the upper arm, starting
// part-way along it, reaching for the forearm. `muscleExtra` is added to the
// muscle's skelegon entry.
std::string armAlongX(const std::string& muscleExtra, const std::string& musclePivot = "[0.04, 1.44, 0]") {
    return R"({
  "fps": 10,
  "frames": {"start": 0, "end": 10, "step": 10},
  "skelegons": [
    {"name": "UpperArm", "pivot": [0, 1.4, 0], "tip": [0.3, 1.4, 0]},
    {"name": "ForeArm", "pivot": [0.3, 1.4, 0], "tip": [0.56, 1.4, 0]},
    {"name": "Biceps", "pivot": )" +
           musclePivot + R"(, "tip": [0.34, 1.435, 0], "selected": true)" + muscleExtra + R"(}
  ],
  "muscles": [{"skelegon": "Biceps", "reference": "ForeArm"}],
  "keys": [{"bone": "UpperArm", "frame": 10, "rotation": [40, 0, 0]}]
})";
}

// Heading, pitch (degrees) and z scale of a bone at a frame, from the CSV.
struct Row {
    double heading, pitch, stretch;
};
std::map<int, Row> rowsOf(const std::string& csv, const std::string& bone) {
    std::map<int, Row> rows;
    std::istringstream lines(csv);
    std::string line;
    std::getline(lines, line);  // the header
    while (std::getline(lines, line)) {
        std::vector<std::string> cells;
        std::stringstream cellsOf(line);
        for (std::string cell; std::getline(cellsOf, cell, ',');) cells.push_back(cell);
        if (cells.size() == 9 && cells[2] == "\"" + bone + "\"")
            rows[std::stoi(cells[0])] = {std::stod(cells[3]), std::stod(cells[4]), std::stod(cells[8])};
    }
    return rows;
}

class RigParent : public ScratchFolder {
protected:
    SinewrigOutcome run(const std::string& rig, std::vector<std::string> more = {}) {
        std::vector<std::string> arguments = {"run", write("rig.json", rig), "--plugin", SINEWRIG_MODULE_FILE, "--quiet"};
        arguments.insert(arguments.end(), more.begin(), more.end());
        return runSinewrig(arguments);
    }
    void expectRefused(const std::string& rig, const std::string& reason) {
        const SinewrigOutcome outcome = run(rig);
        EXPECT_EQ(outcome.status, 2) << outcome.err;
        EXPECT_NE(outcome.err.find(reason), std::string::npos) << outcome.err;
    }
};

}  // namespace

// The muscle's pivot lies 0.04 along the upper arm, so no tip meets it and
// Layout would hang its bone from the object. Its direction (0.3, -0.005, 0)
// is heading 90°, pitch atan(0.005 / 0.3) = 0.9548°. Hung from the upper arm
// (heading 90°), it rests at heading 0 in its parent's frame with that same
// pitch; the upper arm carries pivot and target together, so nothing changes
// in its frame when it turns. Hung from the object, its pivot stays put
// while the target swings about the upper arm's pivot.
TEST_F(RigParent, AMuscleHungFromABoneStartingPartWayAlongItMovesWithIt) {
    const std::string hung = file("hung.csv"), loose = file("loose.csv");
    const SinewrigOutcome withParent = run(armAlongX(R"(, "parent": "UpperArm")"), {"--csv", hung});
    ASSERT_EQ(withParent.status, 0) << withParent.err << withParent.out;
    EXPECT_NE(withParent.out.find("back bit for bit"), std::string::npos) << "the scene keeps the parent";
    const SinewrigOutcome without = run(armAlongX(""), {"--csv", loose});
    ASSERT_EQ(without.status, 0) << without.err;

    const std::map<int, Row> inParent = rowsOf(fileText(hung), "Biceps"), inObject = rowsOf(fileText(loose), "Biceps");
    ASSERT_EQ(inParent.size(), 2u);
    ASSERT_EQ(inObject.size(), 2u);
    for (int frame : {0, 10}) {
        EXPECT_NEAR(inParent.at(frame).heading, 0.0, 1e-3) << frame;
        EXPECT_NEAR(inParent.at(frame).pitch, 0.9548, 1e-3) << frame;
        EXPECT_NEAR(inParent.at(frame).stretch, 1.0, 1e-5) << frame;
    }
    EXPECT_NEAR(inObject.at(0).heading, 90.0, 1e-3);
    EXPECT_NEAR(inObject.at(0).pitch, 0.9548, 1e-3);
    // The target's rest (0.34, 0) in x and z turned 40° about the upper arm's
    // pivot to (0.2605, -0.2186), seen from the muscle's pivot left at (0.04, 0).
    EXPECT_NEAR(inObject.at(10).heading, 134.75, 0.01);
}

TEST_F(RigParent, AParentThatIsNoSkelegonOfTheLayerOrMakesALoopIsRefused) {
    expectRefused(armAlongX(R"(, "parent": "UperArm")"),
                  "skelegons[2].parent: unknown skelegon \"UperArm\"; did you mean \"UpperArm\"?");
    expectRefused(armAlongX(R"(, "parent": "Biceps")"), "skelegons[2].parent: a skelegon cannot hang from itself");
    expectRefused(armAlongX(R"(, "parent": "UpperArm", "layer": 2)"),
                  "skelegons[2].parent: \"UpperArm\" is on layer 1, not on the skelegon's layer 2");
    expectRefused(armAlongX(R"(, "parent": 3)"), "skelegons[2].parent");

    // Two chosen parents that hang from each other.
    std::string loop = armAlongX(R"(, "parent": "ForeArm")");
    loop.replace(loop.find("\"tip\": [0.56, 1.4, 0]}"), 22, "\"tip\": [0.56, 1.4, 0], \"parent\": \"Biceps\"}");
    expectRefused(loop, "skelegons[1].parent: makes a loop of parents, each hanging from the next: \"ForeArm\", "
                        "\"Biceps\", \"ForeArm\"");
    // The upper arm chosen to hang from the forearm, which hangs from it by its tip.
    std::string throughTip = armAlongX("");
    throughTip.replace(throughTip.find("\"tip\": [0.3, 1.4, 0]}"), 21, "\"tip\": [0.3, 1.4, 0], \"parent\": \"ForeArm\"}");
    expectRefused(throughTip, "skelegons[0].parent: makes a loop of parents, each hanging from the next: \"UpperArm\", "
                              "\"ForeArm\", \"UpperArm\"");
}

// The upper arm is 0.3 long: a pivot within 3e-5 of its tip is a near miss.
TEST_F(RigParent, APivotAHairOffAnotherSkelegonsTipIsWarnedAbout) {
    const std::string nearMiss = "skelegons[2] \"Biceps\": its pivot is 2e-05 from the tip of \"UpperArm\" but not on it";
    const SinewrigOutcome near = run(armAlongX("", "[0.30002, 1.4, 0]"));
    EXPECT_EQ(near.status, 0) << near.err;
    EXPECT_NE(near.err.find(nearMiss), std::string::npos) << near.err;

    for (const auto& [extra, pivot] : std::vector<std::pair<std::string, std::string>>{
             {"", "[0.3, 1.4, 0]"},                               // on the tip: a child of the upper arm
             {"", "[0.30004, 1.4, 0]"},                           // 4e-5 off: beyond the reach of a slip
             {R"(, "parent": "ForeArm")", "[0.30002, 1.4, 0]"}})  // the parent chosen
    {
        const SinewrigOutcome quiet = run(armAlongX(extra, pivot));
        EXPECT_EQ(quiet.status, 0) << pivot << extra << quiet.err;
        EXPECT_EQ(quiet.err.find("from the tip of"), std::string::npos) << pivot << extra << quiet.err;
    }
}

// Naming the parent the tip already gives changes nothing, to the last bit.
TEST_F(RigParent, NamingTheParentTheTipGivesLeavesEveryChannelAsItWas) {
    std::string named = armAlongX("");
    named.replace(named.find("\"tip\": [0.56, 1.4, 0]}"), 22, "\"tip\": [0.56, 1.4, 0], \"parent\": \"UpperArm\"}");
    ASSERT_EQ(run(named, {"--csv", file("named.csv")}).status, 0);
    ASSERT_EQ(run(armAlongX(""), {"--csv", file("plain.csv")}).status, 0);
    EXPECT_EQ(fileText(file("named.csv")), fileText(file("plain.csv")));
}

// The scene written keeps the chosen parent, as the host's scene file holds
// it: the muscle's bone block names the upper arm, the first bone of the
// object (item number 0x40000000), as its ParentItem.
TEST_F(RigParent, TheSceneWrittenNamesTheChosenParent) {
    auto biceps = [](const std::string& scene) {
        const std::size_t from = scene.find("BoneName Biceps");
        return from == std::string::npos ? std::string() : scene.substr(from, scene.find("AddBone", from) - from);
    };
    ASSERT_EQ(run(armAlongX(R"(, "parent": "UpperArm")"), {"--scene", file("hung.lws")}).status, 0);
    EXPECT_NE(biceps(fileText(file("hung.lws"))).find("\nParentItem 40000000\n"), std::string::npos);
    ASSERT_EQ(run(armAlongX(""), {"--scene", file("loose.lws")}).status, 0);
    const std::string loose = biceps(fileText(file("loose.lws")));
    EXPECT_NE(loose, "");
    EXPECT_EQ(loose.find("ParentItem"), std::string::npos);
}
