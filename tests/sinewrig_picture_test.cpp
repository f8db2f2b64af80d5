// The picture `sinewrig run --svg` draws: the frames `--svg-frames` chooses
// (and the ones it refuses), each muscle's thickness as the ellipse of its x
// and y scale, and labels with the least and most each muscle stretched.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>

#include "tests/scratch_folder.h"
#include "tests/sinewrig_scene_text.h"

namespace {

const std::string kArm = std::string(SINEWRIG_SOURCE_DIR) + "/examples/arm.json";

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
    return n;
}

// Scale x, y and z of a bone at each frame, from the CSV.
std::map<int, std::array<double, 3>> scalesOf(const std::string& csv, const std::string& bone) {
    std::map<int, std::array<double, 3>> scales;
    std::istringstream lines(csv);
    std::string line;
    std::getline(lines, line);
    while (std::getline(lines, line)) {
        std::vector<std::string> cells;
        std::stringstream cellsOf(line);
        for (std::string cell; std::getline(cellsOf, cell, ',');) cells.push_back(cell);
        if (cells.size() == 9 && cells[2] == "\"" + bone + "\"")
            scales[std::stoi(cells[0])] = {std::stod(cells[6]), std::stod(cells[7]), std::stod(cells[8])};
    }
    return scales;
}

using Points = std::vector<std::pair<double, double>>;

// The outlines of the muscles' cross-sections (filled see-through paths),
// in the order they are drawn.
std::vector<Points> crossSections(const std::string& svg) {
    std::vector<Points> sections;
    for (std::size_t at = svg.find("<path d=\"M"); at != std::string::npos; at = svg.find("<path d=\"M", at + 1)) {
        const std::size_t end = svg.find("/>", at);
        const std::string element = svg.substr(at, end - at);
        if (element.find("fill-opacity=\"0.2\"") == std::string::npos) continue;
        std::string path = element.substr(9, element.find('"', 9) - 9);
        std::replace_if(path.begin(), path.end(), [](char c) { return c == 'M' || c == 'L' || c == 'Z'; }, ' ');
        std::istringstream numbers(path);
        Points points;
        for (double x, y; numbers >> x >> y;) points.emplace_back(x, y);
        sections.push_back(points);
    }
    return sections;
}

double diameter(const Points& points) {
    double widest = 0;
    for (const auto& a : points)
        for (const auto& b : points) widest = std::max(widest, std::hypot(a.first - b.first, a.second - b.second));
    return widest;
}

double width(const Points& points) {
    const auto [left, right] = std::minmax_element(points.begin(), points.end());
    return right->first - left->first;
}

std::string threeDigits(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3g", value);
    return text;
}

std::string withText(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

class Picture : public ScratchFolder {
protected:
    SinewrigOutcome run(const std::string& rig, std::vector<std::string> more) {
        std::vector<std::string> arguments = {"run", rig, "--plugin", SINEWRIG_MODULE_FILE, "--quiet"};
        arguments.insert(arguments.end(), more.begin(), more.end());
        return runSinewrig(arguments);
    }
};

}  // namespace

TEST_F(Picture, SvgFramesChoosesTheFramesDrawnInOrder) {
    for (const char* frames : {"0,24,48", "0:48:24", "48,0,24,24"}) {
        const SinewrigOutcome outcome = run(kArm, {"--svg", file("arm.svg"), "--svg-frames", frames});
        ASSERT_EQ(outcome.status, 0) << frames << outcome.err;
        const std::string svg = fileText(file("arm.svg"));
        EXPECT_EQ(count(svg, ">frame "), 2u * 3u) << frames;  // two views of each frame
        for (const char* frame : {">frame 0<", ">frame 24<", ">frame 48<"}) EXPECT_EQ(count(svg, frame), 2u) << frames;
        EXPECT_LT(svg.find(">frame 0<"), svg.find(">frame 24<"));
        EXPECT_LT(svg.find(">frame 24<"), svg.find(">frame 48<"));
    }
    // Without the option, five frames across the run.
    ASSERT_EQ(run(kArm, {"--svg", file("arm.svg")}).status, 0);
    EXPECT_EQ(count(fileText(file("arm.svg")), ">frame "), 2u * 5u);
}

TEST_F(Picture, SvgFramesTheRunDoesNotEvaluateAreRefusedByFrame) {
    for (const auto& [more, reason] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--svg-frames", "0,50"}, "--svg-frames: frame 50 is not one the run evaluates (0 to 48 step 1)"},
             {{"--svg-frames", "-1"}, "--svg-frames: frame -1 is not one the run evaluates (0 to 48 step 1)"},
             {{"--frames", "0:48:2", "--svg-frames", "2,3"}, "--svg-frames: frame 3 is not one the run evaluates (0 to 48 step 2)"},
             {{"--svg-frames", "0:48"}, "0:48: more than 12 frames to draw"},
             {{"--svg-frames", "0,x"}, "\"x\" is not a whole frame number"},
             {{"--svg-frames", "0:10:0"}, "the step must be at least 1"},
             {{"--svg-frames", ""}, "is not a whole frame number"}}) {
        std::vector<std::string> arguments = more;
        arguments.insert(arguments.end(), {"--svg", file("arm.svg"), "--csv", file("arm.csv")});
        const SinewrigOutcome outcome = run(kArm, arguments);
        EXPECT_EQ(outcome.status, 2) << reason;
        EXPECT_NE(outcome.err.find(reason), std::string::npos) << outcome.err;
        EXPECT_TRUE(std::filesystem::is_empty(folder)) << reason << ": an output was left";
    }
    const SinewrigOutcome noPicture = run(kArm, {"--svg-frames", "0"});
    EXPECT_EQ(noPicture.status, 2);
    EXPECT_NE(noPicture.err.find("--svg"), std::string::npos) << noPicture.err;
}

// All of the arm lies in the plane x = 0, so one view is the side (Z right, Y
// up), where a muscle's own +X points at the viewer and its cross-section
// shows as a line 2 x 8 x (y scale) long; the other has X across, where the
// cross-section is 2 x 8 x (x scale) wide. The biceps thickens evenly as it
// shortens; the triceps, thinning only along y, keeps its x scale.
TEST_F(Picture, EachMusclesThicknessIsTheEllipseOfItsXAndYScale) {
    const std::string rig = withText(fileText(kArm), R"({"skelegon": "Triceps", "reference": "ForeArm"})",
                                     R"({"skelegon": "Triceps", "reference": "ForeArm", "preserveVolume": true, "volumeAxes": "y"})");
    const SinewrigOutcome outcome =
        run(write("rig.json", rig), {"--svg", file("arm.svg"), "--svg-frames", "36", "--csv", file("arm.csv")});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const std::string csv = fileText(file("arm.csv"));
    const std::array<double, 3> biceps = scalesOf(csv, "Biceps").at(36), triceps = scalesOf(csv, "Triceps").at(36);
    ASSERT_GT(biceps[0], 1.1);  // shortened a good deal, so thickened
    ASSERT_LT(triceps[1], 0.98);  // stretched, so thinner along y
    ASSERT_NEAR(triceps[0], 1.0, 1e-9);

    // One frame: a view of the biceps and the triceps, then the other view of both.
    const std::vector<Points> sections = crossSections(fileText(file("arm.svg")));
    ASSERT_EQ(sections.size(), 4u);
    for (const std::size_t view : {0u, 2u}) EXPECT_NEAR(diameter(sections[view]), 16 * biceps[0], 0.05) << view;
    const double sideLine = 16 * triceps[1], acrossWidth = 16 * triceps[0];
    const bool firstIsSide = std::abs(width(sections[1]) - acrossWidth) > 0.05;
    EXPECT_NEAR(diameter(sections[firstIsSide ? 1 : 3]), sideLine, 0.05);
    EXPECT_NEAR(width(sections[firstIsSide ? 3 : 1]), acrossWidth, 0.05);
}

TEST_F(Picture, EachMusclesLabelGivesTheLeastAndMostItStretched) {
    const SinewrigOutcome outcome = run(kArm, {"--svg", file("arm.svg"), "--csv", file("arm.csv")});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const std::string csv = fileText(file("arm.csv")), svg = fileText(file("arm.svg"));
    for (const char* muscle : {"Biceps", "Triceps"}) {
        double least = 1e300, most = -1e300;
        for (const auto& [frame, scale] : scalesOf(csv, muscle)) {
            least = std::min(least, scale[2]);
            most = std::max(most, scale[2]);
        }
        ASSERT_LT(least, most) << muscle;
        const std::string text = ">" + std::string(muscle) + " " + threeDigits(least) + " to " + threeDigits(most) + "<";
        EXPECT_NE(svg.find(text), std::string::npos) << text;
    }
}

// A scene's run draws the frames asked for too, from its FirstFrame 0 to LastFrame 2.
TEST_F(Picture, SvgFramesChoosesTheFramesOfASceneToo) {
    const std::string scene = write("arm.lws", scene_text::armScene());
    ASSERT_EQ(run(scene, {"--svg", file("arm.svg"), "--svg-frames", "2"}).status, 0);
    EXPECT_EQ(count(fileText(file("arm.svg")), ">frame 2<"), 2u);
    EXPECT_EQ(count(fileText(file("arm.svg")), ">frame "), 2u);
    std::filesystem::remove(file("arm.svg"));
    const SinewrigOutcome outside = run(scene, {"--svg", file("arm.svg"), "--svg-frames", "3"});
    EXPECT_EQ(outside.status, 2);
    EXPECT_NE(outside.err.find("--svg-frames: frame 3 is not one the run evaluates (0 to 2 step 1)"), std::string::npos)
        << outside.err;
    EXPECT_FALSE(std::filesystem::exists(file("arm.svg")));
}
