// `sinewrig inspect` and `sinewrig tag` on object files spelled out chunk by
// chunk, with the module's own SetMuscle loaded from the built module file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "tests/arm_object_bytes.h"
#include "tests/scratch_folder.h"
#include "tools/sinewrig/cli.h"

namespace {

namespace fs = std::filesystem;
using namespace lwo2_bytes;
using arm_object_bytes::armObject;

class ObjectCommands : public ScratchFolder {
protected:
    SinewrigOutcome tag(const std::string& object, const std::string& choices, const std::string& output,
                        std::vector<std::string> more = {}) {
        std::vector<std::string> arguments = {"tag", object, "--muscles", write("choices.json", choices), "-o", output,
                                              "--plugin", SINEWRIG_MODULE_FILE};
        arguments.insert(arguments.end(), more.begin(), more.end());
        return runSinewrig(arguments);
    }
};

TEST_F(ObjectCommands, TagRunsSetMuscleOnTheChosenLayerAndChangesOnlyItsTags) {
    const std::string object = write("arm.lwo", armObject(false));
    const std::string output = (folder / "tagged.lwo").string();
    // Hand is named by its BONE tag only; Fore stays as it was.
    const SinewrigOutcome run = tag(object,
                            R"({"muscles": [{"skelegon": "Upper", "reference": "Fore", "preserveVolume": true},
                                            {"skelegon": "Hand", "afterIK": false}]})",
                            output, {"--layer", "2", "--verbose"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "tagged 2 skelegon(s) of layer 2 of " + object +
                           ": 1 with a reference, 1 without; 1 preserve volume, 1 after IK\n"
                           "  Upper: COLR DkRed, MTIP Fore, MFLG 3\n"
                           "  Hand: COLR DkRed, MTIP (none), MFLG 0\n"
                           "wrote " + output + "\n");
    EXPECT_EQ(fileText(output), armObject(true));
    EXPECT_EQ(fileText(object), armObject(false));
}

TEST_F(ObjectCommands, NothingToTagWritesTheObjectBackByteForByte) {
    const std::string object = write("arm.lwo", armObject(true));
    const std::string output = (folder / "same.lwo").string();
    const SinewrigOutcome run = tag(object, R"({"muscles": []})", output);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(fileText(output), armObject(true));
    EXPECT_EQ(run.out, "tagged 0 skelegon(s) of layer 1 of " + object +
                           ": 0 with a reference, 0 without; 0 preserve volume, 0 after IK\nwrote " + output + "\n");
}

TEST_F(ObjectCommands, TagSummarisesWhatItTaggedAndListsItOnlyWhenVerbose) {
    const std::string object = write("arm.lwo", armObject(false));
    // Three skelegons: two reaching for another, both flags on two, after IK off on one.
    const std::string choices = R"({"muscles": [
        {"skelegon": "Upper", "reference": "Hand", "preserveVolume": true},
        {"skelegon": "Fore", "reference": "Upper", "preserveVolume": true, "afterIK": false},
        {"skelegon": "Hand", "preserveVolume": false}]})";
    const SinewrigOutcome quiet = tag(object, choices, file("quiet.lwo"), {"--layer", "2"});
    ASSERT_EQ(quiet.status, 0) << quiet.err;
    EXPECT_EQ(quiet.out, "tagged 3 skelegon(s) of layer 2 of " + object +
                             ": 2 with a reference, 1 without; 2 preserve volume, 2 after IK\nwrote " +
                             file("quiet.lwo") + "\n");
    const SinewrigOutcome verbose = tag(object, choices, file("verbose.lwo"), {"--layer", "2", "--verbose"});
    ASSERT_EQ(verbose.status, 0) << verbose.err;
    EXPECT_NE(verbose.out.find("\n  Upper: COLR DkRed, MTIP Hand, MFLG 3\n  Fore: COLR DkRed, MTIP Upper, MFLG 1\n"
                               "  Hand: COLR DkRed, MTIP (none), MFLG 2\nwrote "),
              std::string::npos)
        << verbose.out;
    EXPECT_EQ(fileText(file("quiet.lwo")), fileText(file("verbose.lwo")));
    // With the object on standard output the summary goes to standard error.
    const SinewrigOutcome piped = tag(object, choices, "-", {"--layer", "2"});
    ASSERT_EQ(piped.status, 0) << piped.err;
    EXPECT_EQ(piped.out, fileText(file("quiet.lwo")));
    EXPECT_NE(piped.err.find("2 with a reference, 1 without; 2 preserve volume, 2 after IK\n"
                             "wrote the object to standard output\n"),
              std::string::npos)
        << piped.err;
}

TEST_F(ObjectCommands, TagRefusesWhatItCannotDoAndWritesNothing) {
    const std::string object = write("arm.lwo", armObject(false));
    const std::string output = (folder / "out.lwo").string();
    const std::string upper = R"({"muscles": [{"skelegon": "Upper"}]})";
    struct Case {
        std::string choices;
        std::vector<std::string> more;
        std::string message;
    };
    const Case cases[] = {
        {upper, {"--layer", "3"}, "--layer 3: " + object + " has no such layer (its layers are 1, 2)"},
        {upper, {}, "muscles[0].skelegon: \"Upper\" is no skelegon of layer 1"},
        {R"({"muscles": [{"skelegon": "Upper", "refrence": "Fore"}]})", {"--layer", "2"},
         "muscles[0].refrence: unknown field; the nearest known field is \"reference\""},
        // The choices are read as a rig file's muscles are: a key given twice is
        // refused, and a muscle control, which Layout sets, is no tag.
        {R"({"muscles": [{"skelegon": "Upper", "afterIK": true, "afterIK": false}]})", {"--layer", "2"},
         "muscles[0].afterIK: the key \"afterIK\" is given twice in one object"},
        {R"({"muscles": [{"skelegon": "Hand"}, {"skelegon": "Upper", "bulge": 2}]})", {"--layer", "2"},
         "muscles[1].bulge: a muscle control, which is set in Layout"},
        {R"({"musles": []})", {}, "musles: unknown field; the nearest known field is \"muscles\""},
        {R"({"muscles": [{"skelegon": "Upper", "reference": "Nobody"}]})", {"--layer", "2"},
         "muscles[0].reference: \"Nobody\" is no skelegon of layer 2"},
        {R"({"muscles": [{"skelegon": "Upper"}, {"skelegon": "Upper"}]})", {"--layer", "2"}, "has two muscle entries"},
        {R"({"muscles": {}})", {}, "muscles: must be a list"},
        {R"({"muscles": [)", {}, "not valid JSON"},
    };
    for (const Case& c : cases) {
        const SinewrigOutcome run = tag(object, c.choices, output, c.more);
        EXPECT_EQ(run.status, 2) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(output)) << c.message;
    }
    // A cut object is refused naming the chunk that does not fit.
    const std::string whole = armObject(false);
    const std::string cut = write("cut.lwo", whole.substr(0, whole.size() - 30));
    const SinewrigOutcome run = tag(cut, upper, output);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("cut.lwo: FORM chunk at offset 0"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(output));
}

TEST_F(ObjectCommands, TagReplacesItsOwnObjectOnlyWhenToldInPlace) {
    const std::string object = write("arm.lwo", armObject(false));
    const std::string choices = R"({"muscles": [{"skelegon": "Upper", "reference": "Fore", "preserveVolume": true},
                                                {"skelegon": "Hand", "afterIK": false}]})";
    SinewrigOutcome run = tag(object, choices, object, {"--layer", "2"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("add --in-place"), std::string::npos) << run.err;
    EXPECT_EQ(fileText(object), armObject(false));
    run = tag(object, choices, object, {"--layer", "2", "--in-place"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(fileText(object), armObject(true));
}

// Layer 1: skelegons A (MFLG "1x", MTIP "Ghost"), A again, B (MFLG "2", MTIP
// "A", COLR "Chartreuse") hanging from the first A, and C named by BONE.
std::string troubledObject() {
    return form(cat({
        // TAGS: 0 "A", 1 "1x", 2 "Ghost", 3 "2", 4 "Chartreuse", 5 "C"
        chunk("TAGS", cat({s0("A"), s0("1x"), s0("Ghost"), s0("2"), s0("Chartreuse"), s0("C")})),
        // LAYR 0, pivot (0, 0, 5), name "Legs"
        chunk("LAYR", cat({u2(0), u2(0), vec(0, 0, 5), s0("Legs")})),
        // PNTS: a chain 0-1-2 and a separate pair 3-4
        chunk("PNTS", cat({vec(0, 0, 0), vec(0, 1, 0), vec(0, 2, 0), vec(1, 0, 0), vec(1, 1, 0)})),
        // POLS BONE: A 0-1, A 3-4, B 1-2, C 3-4
        chunk("POLS", cat({"BONE", u2(2), vx(0), vx(1), u2(2), vx(3), vx(4), u2(2), vx(1), vx(2), u2(2), vx(3), vx(4)})),
        // PTAG PART: polygons 0 and 1 are both "A"; polygon 2 has no name
        chunk("PTAG", cat({"PART", vx(0), u2(0), vx(1), u2(0)})),
        // PTAG BONE: polygon 3 is "C"
        chunk("PTAG", cat({"BONE", vx(3), u2(5)})),
        // PTAG MFLG: polygon 0 "1x", polygon 2 "2"
        chunk("PTAG", cat({"MFLG", vx(0), u2(1), vx(2), u2(3)})),
        // PTAG MTIP: polygon 0 "Ghost", polygon 2 "A"
        chunk("PTAG", cat({"MTIP", vx(0), u2(2), vx(2), u2(0)})),
        // PTAG COLR: polygon 2 "Chartreuse"
        chunk("PTAG", cat({"COLR", vx(2), u2(4)})),
    }));
}

TEST_F(ObjectCommands, InspectReadsTheTagsAsTheMusclesTheyMeanAndNamesTheProblems) {
    const std::string object = write("legs.lwo", troubledObject());
    // Problems found are exit status 1, in either form.
    const SinewrigOutcome run = runSinewrig({"inspect", object, "--json"});
    ASSERT_EQ(run.status, 1) << run.err;
    const nlohmann::json report = nlohmann::json::parse(run.out);
    ASSERT_EQ(report["layers"].size(), 1u);
    const nlohmann::json& layer = report["layers"][0];
    EXPECT_EQ(layer["number"], 1);
    EXPECT_EQ(layer["name"], "Legs");
    EXPECT_EQ(layer["pivot"], nlohmann::json::parse("[0, 0, 5]"));
    EXPECT_EQ(layer["points"], 5);
    EXPECT_EQ(layer["polygons"]["BONE"], 4);
    const nlohmann::json& s = layer["skelegons"];
    ASSERT_EQ(s.size(), 4u);
    EXPECT_EQ(s[0]["muscle"]["flags"], 1);
    EXPECT_EQ(s[0]["muscle"]["preserveVolume"], true);
    EXPECT_EQ(s[0]["muscle"]["afterIK"], false);
    EXPECT_TRUE(s[2]["name"].is_null());
    EXPECT_EQ(s[2]["parent"], "A");
    EXPECT_EQ(s[2]["parentIndex"], 0);
    EXPECT_EQ(s[2]["muscle"]["reference"], "A");
    EXPECT_EQ(s[2]["muscle"]["afterIK"], true);
    EXPECT_TRUE(s[2]["muscle"]["itemColour"].is_null());
    EXPECT_EQ(s[3]["name"], "C");
    EXPECT_EQ(s[3]["nameTag"], "BONE");
    EXPECT_TRUE(s[3]["muscle"].is_null());
    const std::string problems = report["problems"].dump();
    EXPECT_NE(problems.find("two skelegons are named \\\"A\\\""), std::string::npos) << problems;
    EXPECT_NE(problems.find("MFLG text \\\"1x\\\" is not a number"), std::string::npos) << problems;
    EXPECT_NE(problems.find("MTIP names \\\"Ghost\\\", which is no skelegon"), std::string::npos) << problems;
    EXPECT_NE(problems.find("skelegon 3 has no name"), std::string::npos) << problems;
    EXPECT_EQ(report["problems"].size(), 4u) << problems;

    const SinewrigOutcome text = runSinewrig({"inspect", object});
    ASSERT_EQ(text.status, 1);
    EXPECT_NE(text.out.find("skelegon \"C\" (named by BONE)"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("problems (4):"), std::string::npos) << text.out;
}

TEST_F(ObjectCommands, InspectSaysWhatAFileIsWhenItIsNoObject) {
    const std::string layer = chunk("LAYR", cat({u2(0), u2(0), vec(0, 0, 0), s0("L")}));
    const SinewrigOutcome lwo3 = runSinewrig({"inspect", write("new.lwo", form(layer, "LWO3"))});
    EXPECT_EQ(lwo3.status, 2);
    EXPECT_NE(lwo3.err.find("new.lwo: is an LWO3 object file"), std::string::npos) << lwo3.err;
}

TEST_F(ObjectCommands, AnObjectThatCannotBeReadIsNamedWithTheSystemsReason) {
    const std::string none = file("none.lwo");
    const std::string choices = write("choices.json", R"({"muscles": []})");
    struct Case {
        std::string path, reason;
    };
    std::vector<Case> cases = {{none, "No such file or directory"}, {folder.string(), "Is a directory"}};
#if !defined(_WIN32)
    // Only where the system keeps the test from reading it: not for the superuser.
    const std::string locked = write("locked.lwo", armObject(false));
    fs::permissions(locked, fs::perms::none);
    if (!std::ifstream(locked)) cases.push_back({locked, "Permission denied"});
#endif
    for (const Case& c : cases) {
        const std::string message = c.path + ": cannot be read (" + c.reason + ")";
        const SinewrigOutcome inspect = runSinewrig({"inspect", c.path});
        EXPECT_EQ(inspect.status, 2);
        EXPECT_NE(inspect.err.find(message), std::string::npos) << inspect.err;
        const SinewrigOutcome tagged = runSinewrig({"tag", c.path, "--muscles", choices, "-o", file("out.lwo")});
        EXPECT_EQ(tagged.status, 2);
        EXPECT_NE(tagged.err.find(message), std::string::npos) << tagged.err;
        EXPECT_FALSE(fs::exists(file("out.lwo")));
    }
}

TEST_F(ObjectCommands, ChoicesNamingNoSkelegonOfTheLayerOfferTheNearestName) {
    const std::string object = write("arm.lwo", armObject(false));
    const std::string output = file("out.lwo");
    struct Case {
        std::string choices, message;
    };
    const Case cases[] = {
        {R"({"muscles": [{"skelegon": "Uper"}]})",
         "muscles[0].skelegon: \"Uper\" is no skelegon of layer 2; did you mean \"Upper\"?"},
        {R"({"muscles": [{"skelegon": "Upper", "reference": "hand"}]})",
         "muscles[0].reference: \"hand\" is no skelegon of layer 2, so SetMuscle cannot offer it; did you mean "
         "\"Hand\"?"},
        {R"({"muscles": [{"skelegon": "Shoulder"}]})", "muscles[0].skelegon: \"Shoulder\" is no skelegon of layer 2\n"},
        // The nearest field, for a misspelt one in an entry and at the top.
        {R"({"muscles": [{"skelegon": "Upper", "preserveVolum": true}]})",
         "muscles[0].preserveVolum: unknown field; the nearest known field is \"preserveVolume\""},
        {R"({"Muscles": []})", "Muscles: unknown field; the nearest known field is \"muscles\""},
    };
    for (const Case& c : cases) {
        const SinewrigOutcome run = tag(object, c.choices, output, {"--layer", "2"});
        EXPECT_EQ(run.status, 2) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(output));
    }
}

}  // namespace
