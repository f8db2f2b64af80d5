// What `sinewrig run` prints as its report: tables that stay aligned with
// Japanese names, misses of muscles free to reach their targets apart from
// muscles held back on purpose, and the help of its options.
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "tests/scratch_folder.h"

namespace {

const std::string kExamples = std::string(SINEWRIG_SOURCE_DIR) + "/examples/";

// Three muscles named in kanji (5 characters, 10 columns), in ASCII (7) and
// in halfwidth katakana (4 characters, 4 columns), all reaching for the
// forearm as it bends.
const std::string kJapaneseArm = R"({
  "fps": 24,
  "frames": {"start": 0, "end": 24, "step": 12},
  "skelegons": [
    {"name": "UpperArm", "pivot": [0, 1.40, 0.00], "tip": [0, 1.40, 0.30]},
    {"name": "ForeArm", "pivot": [0, 1.40, 0.30], "tip": [0, 1.40, 0.56]},
    {"name": "上腕二頭筋", "pivot": [0, 1.44, 0.04], "tip": [0, 1.435, 0.34], "selected": true},
    {"name": "Triceps", "pivot": [0, 1.36, 0.02], "tip": [0, 1.37, 0.31], "selected": true},
    {"name": "ｻﾝｶｸ", "pivot": [0, 1.40, 0.05], "tip": [0, 1.42, 0.33], "selected": true}
  ],
  "muscles": [
    {"skelegon": "上腕二頭筋", "reference": "ForeArm"},
    {"skelegon": "Triceps", "reference": "ForeArm"},
    {"skelegon": "ｻﾝｶｸ", "reference": "ForeArm"}
  ],
  "keys": [{"bone": "ForeArm", "frame": 24, "rotation": [0, -90, 0]}]
})";

// Columns each name takes on a terminal, counted by hand.
const std::vector<std::pair<std::string, std::size_t>> kNameColumns = {{"上腕二頭筋", 10}, {"Triceps", 7}, {"ｻﾝｶｸ", 4}};

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The terminal column at which `mark` starts in a line holding `name`: the
// bytes before it, with the name's bytes counted as its columns. Every other
// byte before the mark is ASCII.
std::size_t columnOf(const std::string& line, const std::string& mark, const std::string& name, std::size_t nameColumns) {
    return line.find(mark) - name.size() + nameColumns;
}

double numberAfter(const std::string& text, const std::string& words) {
    const std::size_t at = text.find(words);
    return at == std::string::npos ? -1 : std::stod(text.substr(at + words.size()));
}

std::string withText(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

class RunReport : public ScratchFolder {
protected:
    SinewrigOutcome run(const std::string& rig) {
        return runSinewrig({"run", write("rig.json", rig), "--plugin", SINEWRIG_MODULE_FILE, "--quiet"});
    }
};

}  // namespace

TEST_F(RunReport, TheFrameTableAndTheSpinsStayAlignedWithJapaneseNames) {
    const SinewrigOutcome outcome = run(kJapaneseArm);
    ASSERT_EQ(outcome.status, 0) << outcome.err << outcome.out;
    const std::vector<std::string> lines = linesOf(outcome.out);

    // The table: "heading" ends where each row's heading ends, at its degree sign.
    std::size_t headingEnds = 0;
    for (const std::string& line : lines)
        if (line.find(" frame  bone") == 0) headingEnds = line.find("heading") + 6;
    ASSERT_NE(headingEnds, 0u) << outcome.out;
    std::size_t rows = 0, spins = 0;
    std::set<std::size_t> spinColumns;
    for (const std::string& line : lines)
        for (const auto& [name, columns] : kNameColumns) {
            if (line.find(name) == std::string::npos || line.find("°") == std::string::npos) continue;
            if (line.find(" at frame ") != std::string::npos) {
                spinColumns.insert(columnOf(line, "°", name, columns));
                ++spins;
            } else {
                EXPECT_EQ(columnOf(line, "°", name, columns), headingEnds) << line;
                ++rows;
            }
        }
    EXPECT_EQ(rows, 3u * 3u);  // frames 0, 12, 24
    EXPECT_EQ(spins, 3u);
    EXPECT_EQ(spinColumns.size(), 1u);
}

// The arm's forearm bends by 115°; a muscle given only half the aim stays
// well short of its target, while one free to reach it ends on it.
TEST_F(RunReport, MusclesHeldBackOnPurposeAreReportedApartFromRealMisses) {
    const std::string arm = fileText(kExamples + "arm.json");
    const SinewrigOutcome free = run(arm);
    ASSERT_EQ(free.status, 0) << free.err;
    EXPECT_LT(numberAfter(free.out, "muscle tips end at most "), 1e-5) << free.out;
    EXPECT_EQ(free.out.find("held back"), std::string::npos) << free.out;

    for (const std::string control : {R"("influence": 0.5)", R"("stretchMax": 1.0)"}) {
        const SinewrigOutcome held = run(withText(arm, R"({"skelegon": "Triceps", "reference": "ForeArm")",
                                                  R"({"skelegon": "Triceps", "reference": "ForeArm", )" + control));
        ASSERT_EQ(held.status, 0) << control << held.err;
        EXPECT_LT(numberAfter(held.out, "muscle tips free to reach their targets end at most "), 1e-5) << held.out;
        EXPECT_GT(numberAfter(held.out, "1 muscle(s) held back on purpose (stretch limits, influence below 1) end at most "),
                  0.01)
            << held.out;
        EXPECT_NE(held.out.find(" from their targets, by design: Triceps\n"), std::string::npos) << held.out;
    }
}

TEST_F(RunReport, TheHelpShowsHowFramesAreGiven) {
    const SinewrigOutcome help = runSinewrig({"run", "--help"});
    ASSERT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--frames START:END[:STEP]"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("--svg-frames LIST"), std::string::npos) << help.out;
    EXPECT_EQ(help.out.find(":START:END"), std::string::npos) << help.out;
}
