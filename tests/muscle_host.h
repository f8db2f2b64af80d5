// One stand-in host process for the muscle tests: a Layout, the loaded
// Sinewrig.p and its item motion handler, plus ways to build scenes and to see
// a muscle's settings and rest data as the host does, in the scene data it saves.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/layout/layout.h"
#include "host/process/module_file.h"
#include "host/layout/motion_handlers.h"
#include "math/vector.h"
#include "tests/muscle_scene_data.h"

struct MuscleHost {
    host::Layout layout;
    std::unique_ptr<host::ModuleFile> module;
    std::unique_ptr<host::MotionHandlers> handlers;

    MuscleHost() { loadModule(); }
    ~MuscleHost() { unloadModule(); }

    void loadModule() {
        std::string error;
        module = host::ModuleFile::load(SINEWRIG_MODULE_FILE, error);
        if (!module) {
            ADD_FAILURE() << error;
            return;
        }
        handlers = std::make_unique<host::MotionHandlers>(layout, *module);
    }
    void unloadModule() {
        handlers.reset();
        module.reset();
    }

    LWItemID add(LWItemType type, const char* name, LWItemID parent, sinewrig::Vec3 position,
                 sinewrig::Vec3 rotation = {}, double restLength = 1.0) {
        LWItemID id = layout.scene.addItem(type, name, parent);
        set(id, LWIP_POSITION, position);
        set(id, LWIP_ROTATION, rotation);
        layout.scene.find(id)->restLength = restLength;
        return id;
    }
    LWItemID addBone(const char* name, sinewrig::Vec3 position = {}, double restLength = 1.0,
                     LWItemID parent = nullptr) {
        return add(LWI_BONE, name, parent, position, {}, restLength);
    }
    void set(LWItemID id, LWItemParam param, sinewrig::Vec3 v) {
        const double value[3] = {v.x, v.y, v.z};
        layout.scene.setValue(id, param, value);
    }
    void key(LWItemID id, LWItemParam param, double time, sinewrig::Vec3 v) {
        const double value[3] = {v.x, v.y, v.z};
        layout.scene.setKey(id, param, time, value);
    }

    static host::SceneData muscleData(LWItemID bone, LWItemID reference, unsigned preserveVolume = 0,
                                      unsigned afterIK = 1, float restLength = 1.0f, sinewrig::Vec3 tip = {}) {
        return muscleSceneData(bone, reference, preserveVolume, afterIK, restLength, {float(tip.x), float(tip.y), float(tip.z)});
    }
    // Applies the handler to the bone and loads settings into it, as a scene load does.
    LWInstance muscle(LWItemID bone, LWItemID reference, bool preserveVolume = false, bool afterIK = true) {
        LWInstance instance = handlers->apply(bone);
        EXPECT_NE(instance, nullptr);
        if (instance) handlers->load(instance, muscleData(bone, reference, preserveVolume, afterIK));
        return instance;
    }

    // Whether the module's Global Memory block holds a registry: the host sees
    // only the pointer-sized block, null or not.
    bool registryHeld() const {
        void* block = layout.globalMemory.find("Sinewrig");
        void* registry = nullptr;
        if (block) std::memcpy(&registry, block, sizeof registry);
        return registry != nullptr;
    }

    // A muscle as its instance saves it: the six scene values, read back.
    struct SavedMuscle {
        LWItemID bone = nullptr, reference = nullptr;
        bool preserveVolume = false, afterIK = false;
        double restLength = 0.0;
        sinewrig::Vec3 restTip;
    };
    static std::optional<SavedMuscle> savedMuscle(const host::SceneData& data) {
        if (data.size() != 6 || data[5].values.size() != 3) return std::nullopt;
        for (int i = 0; i < 5; ++i)
            if (data[i].values.size() != 1) return std::nullopt;
        auto id = [](double value) { return reinterpret_cast<LWItemID>(static_cast<std::uintptr_t>(value)); };
        const std::vector<double>& tip = data[5].values;
        return SavedMuscle{id(data[0].values[0]), id(data[1].values[0]), data[2].values[0] != 0,
                           data[3].values[0] != 0, data[4].values[0], {tip[0], tip[1], tip[2]}};
    }
    // The bone's muscle as its first instance saves it; a failure when it has none.
    SavedMuscle savedOf(LWItemID bone) const {
        const std::vector<LWInstance> instances = handlers->instancesOf(bone);
        EXPECT_FALSE(instances.empty()) << "no instance on the bone";
        if (instances.empty()) return {};
        const std::optional<SavedMuscle> saved = savedMuscle(handlers->save(instances[0]));
        EXPECT_TRUE(saved) << "scene data not of six values";
        return saved.value_or(SavedMuscle{});
    }

    // The bones whose rest data evaluating `time` bound, in order: each binding
    // asks the host for its bone's rest length once.
    std::vector<LWItemID> restBindingsEvaluating(double time) {
        const bool wasEnabled = layout.log.enabled;
        layout.log.enabled = true;
        const std::size_t before = layout.log.calls.size();
        handlers->evaluate(time);
        layout.log.enabled = wasEnabled;
        std::vector<LWItemID> bound;
        for (std::size_t i = before; i < layout.log.calls.size(); ++i)
            if (layout.log.calls[i].function == "restLength") bound.push_back(layout.log.calls[i].item);
        return bound;
    }

    const host::ItemMotion& motionOf(LWItemID item) const {
        static const host::ItemMotion none;
        const host::ItemMotion* motion = layout.motion.motionOf(item);
        return motion ? *motion : none;
    }
};
