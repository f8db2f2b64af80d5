// One stand-in host process for the muscle tests: a Layout, the loaded
// Sinewrig.p and its item motion handler, plus ways to build scenes and to look
// at the registry the module keeps in Global Memory.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "host/layout/layout.h"
#include "host/process/module_file.h"
#include "host/layout/motion_handlers.h"
#include "math/vector.h"
#include "tests/muscle_scene_data.h"
#include "muscle/muscle_registry.h"

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

    // The registry the block holds, read with the module's own record layout.
    sinewrig::MuscleRegistry* registry() const {
        void* block = layout.globalMemory.find("Sinewrig");
        sinewrig::MuscleRegistry* registry = nullptr;
        if (block) std::memcpy(&registry, block, sizeof registry);
        return registry;
    }
    sinewrig::MuscleRecord* recordOf(LWItemID bone) const {
        sinewrig::MuscleRegistry* r = registry();
        const int index = sinewrig::findMuscle(r, bone);
        return index < 0 ? nullptr : &sinewrig::muscleAt(r, index);
    }

    const host::ItemMotion& motionOf(LWItemID item) const {
        static const host::ItemMotion none;
        const host::ItemMotion* motion = layout.motion.motionOf(item);
        return motion ? *motion : none;
    }
};
