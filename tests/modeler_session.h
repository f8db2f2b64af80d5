// A stand-in Modeler with the loaded Sinewrig.p, for running SetMuscle the
// way the host does and looking at what it left on the object.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "host/modeler/modeler.h"
#include "host/process/module_file.h"

constexpr LWID COLR = LWID_('C', 'O', 'L', 'R');
constexpr LWID MTIP = LWID_('M', 'T', 'I', 'P');
constexpr LWID MFLG = LWID_('M', 'F', 'L', 'G');
constexpr LWID PART = LWID_('P', 'A', 'R', 'T');

// x positions of a click in each column of the assignment list.
constexpr int kNameX = 60, kReferenceX = 180, kPreserveVolumeX = 270, kAfterIKX = 330;

class ModelerSession : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        module = host::ModuleFile::load(SINEWRIG_MODULE_FILE, error);
        ASSERT_TRUE(module) << error;
    }

    void TearDown() override {
        for (const std::string& problem : modeler.panels.problems) ADD_FAILURE() << "panel services: " << problem;
        EXPECT_EQ(modeler.panels.scriptsLeft(), 0u) << "scripted panels that never opened";
    }

    int runSetMuscle(int version = 3) {
        return module->activate("CommandSequence", "SetMuscle", version, host::Services::global(), &modeler.command);
    }

    std::optional<std::string> tag(LWPolID polygon, LWID type) const {
        const char* text = modeler.object.tag(polygon, type);
        return text ? std::optional<std::string>(text) : std::nullopt;
    }

    // The mesh edit ended exactly once, without error and without touching the selection.
    void expectEndedOnce() const {
        auto done = modeler.callsTo("done");
        ASSERT_EQ(done.size(), 1u);
        EXPECT_EQ(done[0].args, (std::vector<int>{EDERR_NONE, 0}));
        EXPECT_EQ(modeler.calls.back().function, "done");
    }

    const host::MultiListControl* assignmentList(size_t panel = 0) const {
        if (panel >= modeler.panels.panels.size() || modeler.panels.panels[panel]->controls.empty()) return nullptr;
        return dynamic_cast<const host::MultiListControl*>(modeler.panels.panels[panel]->controls[0].get());
    }

    std::vector<std::string> polTagTexts() const {
        std::vector<std::string> writes;
        for (const host::EditCall& call : modeler.callsTo("polTag"))
            writes.push_back(std::string(modeler.object.tag(call.polygon, PART) ? modeler.object.tag(call.polygon, PART) : "?") +
                             " " + tagName(call.tag) + " " + (call.text ? *call.text : "(null)"));
        return writes;
    }

    static std::string tagName(LWID type) {
        return {char(type >> 24), char(type >> 16), char(type >> 8), char(type)};
    }

    host::Modeler modeler;
    std::unique_ptr<host::ModuleFile> module;
};
