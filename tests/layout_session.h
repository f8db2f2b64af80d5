// A stand-in Layout with the loaded Sinewrig.p, its motion handler hosting,
// and an object whose skelegons come from a Modeler layer: for running
// ReadMuscle and the options panel the way the host does.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/layout/layout.h"
#include "host/layout/motion_handlers.h"
#include "host/modeler/mesh_object.h"
#include "host/process/module_file.h"

constexpr LWID kColr = LWID_('C', 'O', 'L', 'R');
constexpr LWID kMtip = LWID_('M', 'T', 'I', 'P');
constexpr LWID kMflg = LWID_('M', 'F', 'L', 'G');

class LayoutSession : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        module = host::ModuleFile::load(SINEWRIG_MODULE_FILE, error);
        ASSERT_TRUE(module) << error;
        handlers = std::make_unique<host::MotionHandlers>(layout, *module);
    }

    void TearDown() override {
        for (const std::string& problem : layout.problems()) ADD_FAILURE() << problem;
        EXPECT_EQ(layout.panels.scriptsLeft(), 0u) << "scripted panels that never opened";
        handlers.reset();
    }

    // A skelegon on the Modeler layer with the given tags (PART from `name` unless null).
    LWPolID skelegon(const char* name, std::map<LWID, std::string> tags = {}, const double pivot[3] = nullptr,
                     const double tip[3] = nullptr) {
        LWPolID id = modelerObject.addSkelegon(0, name, false, pivot, tip);
        for (auto& [type, text] : tags) modelerObject.polygon(id)->tags[type] = text;
        return id;
    }
    static std::map<LWID, std::string> muscleTags(const std::string& flags, const char* tip = nullptr,
                                                  const char* colour = "DkRed") {
        std::map<LWID, std::string> tags{{kMflg, flags}};
        if (tip) tags[kMtip] = tip;
        if (colour) tags[kColr] = colour;
        return tags;
    }

    // The Modeler layer loaded as an object, its skelegons made bones, and the object selected.
    LWItemID loadObject(const char* name = "Body") {
        object = layout.addObject(name, host::ObjectMesh::fromLayer(modelerObject.primary()));
        bones = layout.convertSkelegons(object);
        layout.select({object});
        return object;
    }

    int readMuscle(int version = 2) {
        return module->activate("LayoutGeneric", "ReadMuscle", version, host::Services::global(), layout.generic());
    }

    std::vector<std::string> commandTexts() const {
        std::vector<std::string> texts;
        for (const host::CommandRun& run : layout.commands) texts.push_back(run.text);
        return texts;
    }

    static std::string hex(LWItemID id) {
        char text[16];
        std::snprintf(text, sizeof text, "%X", unsigned(reinterpret_cast<std::uintptr_t>(id)));
        return text;
    }

    // The one instance on a bone; null (and a failure) when there is not exactly one.
    LWInstance instanceOn(LWItemID bone) const {
        auto instances = handlers->instancesOf(bone);
        EXPECT_EQ(instances.size(), 1u);
        return instances.size() == 1 ? instances[0] : nullptr;
    }
    // The bone's muscle settings as the host sees them: useItems, flags and the scene data.
    struct Settings {
        LWItemID reference;
        bool preserveVolume;
        bool afterIK;
        bool operator==(const Settings&) const = default;
    };
    Settings settingsOf(LWItemID bone) const {
        LWInstance instance = instanceOn(bone);
        if (!instance) return {};
        const host::SceneData data = handlers->save(instance);
        auto items = handlers->useItems(instance);
        return {items.size() > 1 ? items[1] : nullptr, data.size() > 2 && data[2].values == std::vector<double>{1},
                handlers->flags(instance) == LWIMF_AFTERIK};
    }

    host::Layout layout;
    std::unique_ptr<host::ModuleFile> module;
    std::unique_ptr<host::MotionHandlers> handlers;
    host::MeshObject modelerObject;
    LWItemID object = nullptr;
    std::vector<LWItemID> bones;
};
