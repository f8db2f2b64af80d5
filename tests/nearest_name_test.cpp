// The name most likely meant when a rig, a choices file or a key names one
// that is not there: near enough, case aside, or none at all.
#include <gtest/gtest.h>

#include "tools/sinewrig/common/nearest_name.h"

namespace {

using sinewrig_tool::closeName;
using sinewrig_tool::didYouMean;
using sinewrig_tool::nearestName;

TEST(NearestName, CloseNamesAreOfferedAndFarOnesAreNot) {
    // "Bisep" is two edits from "Biceps" (c for s, an s added), four from "Triceps".
    EXPECT_EQ(closeName("Bisep", {"Triceps", "Biceps"}), "Biceps");
    EXPECT_EQ(closeName("forearm", {"UpperArm", "ForeArm"}), "ForeArm");
    EXPECT_EQ(closeName("Leg", {"Arm", "Hip"}), std::nullopt);
    EXPECT_EQ(closeName("Elbow", {"UpperArm", "ForeArm", "Biceps"}), std::nullopt);
    EXPECT_EQ(closeName("Arm", {}), std::nullopt);
    // Nine letters allow three edits, not four.
    EXPECT_EQ(closeName("Abcdefghi", {"Abcxyzghi"}), "Abcxyzghi");
    EXPECT_EQ(closeName("Abcdefghi", {"Abwxyzghi"}), std::nullopt);
}

TEST(NearestName, TiesGoToTheOneSpeltWithTheSameCaseThenToTheFirst) {
    EXPECT_EQ(nearestName("arm", {"ARM", "Arm"}), "Arm");
    EXPECT_EQ(nearestName("arm", {"Arm", "ARM"}), "Arm");
    // Case aside, "Arm" is no edit from "ARM": it wins over "ARM2", one letter more.
    EXPECT_EQ(nearestName("ARM", {"ARM2", "Arm"}), "Arm");
    EXPECT_EQ(nearestName("Hip", {"Lip", "Rip"}), "Lip");
    // The nearest field is given however far it is.
    EXPECT_EQ(nearestName("zzzz", {"muscles"}), "muscles");
}

TEST(NearestName, TheHintReadsAsAQuestion) {
    EXPECT_EQ(didYouMean("Bicep", {"Biceps", "Triceps"}), "; did you mean \"Biceps\"?");
    EXPECT_EQ(didYouMean("Tail", {"Biceps", "Triceps"}), "");
}

}  // namespace
