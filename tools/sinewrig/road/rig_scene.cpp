#include "tools/sinewrig/road/rig_scene.h"

#include <fstream>

#include "host/lws/layout_scene.h"
#include "host/object_file/new_object_file.h"
#include "host/object_file/object_file.h"
#include "tools/sinewrig/common/system_reason.h"

namespace sinewrig_tool {

host::lws::SceneSettings rigSceneSettings(const Rig& rig) {
    host::lws::SceneSettings settings;
    settings.firstFrame = settings.previewFirstFrame = settings.currentFrame = rig.frames.start;
    settings.lastFrame = settings.previewLastFrame = rig.frames.end;
    settings.frameStep = settings.previewFrameStep = rig.frames.step;
    settings.framesPerSecond = rig.fps;
    return settings;
}

bool saveRigScene(const Rig& rig, const LayoutSession& session, const SceneFiles& files, std::string& error) {
    std::vector<host::lws::ObjectLayer> objects;
    for (const auto& [object, layer] : session.objectLayers) objects.push_back({object, layer, files.objectName});
    std::ofstream out(files.scene, std::ios::binary | std::ios::trunc);
    if (!out) {
        error = files.scene + ": cannot be written (" + systemReason() + ")";
        return false;
    }
    if (!host::lws::writeLayoutScene(*session.layout, *session.handlers, rigSceneSettings(rig), objects, out, error)) {
        error = files.scene + ": " + error;
        return false;
    }
    out.close();
    if (!out) {
        error = files.scene + ": cannot be written (" + systemReason() + ")";
        return false;
    }
    return true;
}

bool writeRigObject(const Rig& rig, const host::MeshObject& tagged, const std::string& path, std::string& error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        error = path + ": cannot be written (" + systemReason() + ")";
        return false;
    }
    bool written = false;
    if (rig.objectFile.empty()) {
        written = host::writeNewObjectFile(tagged, out, error);
    } else {
        // The rig's own file again, every chunk kept, with the tags SetMuscle wrote.
        host::ObjectFile file;
        host::MeshObject mesh;
        written = host::loadObjectFile(rig.objectFile, file, mesh, error);
        if (written && !host::copyPolygonTags(tagged, mesh)) {
            error = rig.objectFile + ": changed while the rig ran";
            written = false;
        }
        written = written && host::writeObjectFile(file, mesh, out, error);
    }
    out.close();
    if (written && !out) error = path + ": cannot be written (" + systemReason() + ")";
    else if (!written) error = path + ": " + error;
    return written && out;
}

std::string objectPathBeside(const std::string& scenePath) {
    const std::size_t size = scenePath.size();
    if (size > 4 && scenePath[size - 4] == '.') {
        std::string extension = scenePath.substr(size - 3);
        for (char& c : extension) c = static_cast<char>(c | 0x20);
        if (extension == "lws") return scenePath.substr(0, size - 3) + "lwo";
    }
    return scenePath + ".lwo";
}

std::string fileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace sinewrig_tool
