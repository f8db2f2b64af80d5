// A scene file (LWSC) as the stand-in keeps it: the file's bytes, untouched,
// and what it read from them (settings, items with their channels, plug-in
// blocks) together with where each piece sits, so that a writer can put back
// every line it does not regenerate byte for byte and in place.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/scene/envelope.h"
#include "abi/lw_host.h"

namespace host::lws {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// Bytes [begin, end) of the file; empty when nothing sits there.
struct TextSpan {
    std::size_t begin = 0, end = 0;
    bool empty() const { return begin == end; }
};

// The scene's frame range and rate, with the host's defaults where the file is silent.
struct SceneSettings {
    long long firstFrame = 1, lastFrame = 60, frameStep = 1;
    long long previewFirstFrame = 1, previewLastFrame = 60, previewFrameStep = 1;
    long long currentFrame = 0;
    double framesPerSecond = 30.0;  // frame f is at f / framesPerSecond seconds
};

struct SceneItem {
    LWItemType type = LWI_OBJECT;
    std::uint32_t number = 0;  // its LWItemID: baked by the file or counted
    std::string name;          // as the host shows it
    std::string file;          // objects loaded from an object file: the path as written
    std::size_t line = 0;      // the line that adds it
    std::size_t object = kNone;  // bones: the object they belong to
    std::size_t parent = kNone;  // ParentItem's item; a bone without one hangs from its object
    double pivot[3] = {0, 0, 0};
    // Bones.
    bool active = true;
    double restLength = 1.0;
    std::optional<std::array<double, 3>> restPosition;
    std::optional<std::array<double, 3>> restDirection;  // heading, pitch, bank in radians
    // Position x y z, heading pitch bank (radians), scale x y z. A channel the
    // file does not give is 0, or 1 for scale.
    std::array<Channel, 9> channels;

    // Where the motion sits, for a bake: each given channel from its `Channel`
    // line to its envelope's `}`, the `NumChannels` line, the end of the last
    // motion line, and where a motion would go for an item that has none.
    std::array<TextSpan, 9> channelText;
    TextSpan numChannelsLine;
    long long numChannels = -1;  // as NumChannels gives it; -1 without the line
    std::size_t motionEnd = kNone;
    std::size_t headerEnd = 0;   // after the adding line, or the item's name line
    std::string motionIndent;    // the indentation of its motion lines
};

// A `Plugin Class n Name` ... `EndPlugin` block of the file.
struct PluginBlock {
    std::string className, name;
    std::size_t line = 0;        // the Plugin line
    std::size_t item = kNone;    // the item it sits under
    TextSpan whole;              // the Plugin line to the end of the EndPlugin line
    TextSpan body;               // the lines between them
    std::size_t bodyLine = 0;    // the number of the body's first line
    std::string indent;          // the Plugin line's indentation, which its body lines share

    bool isSinewrig() const { return className == "ItemMotionHandler" && name == "Sinewrig"; }
};

// A plug-in (or the host's targeting and IK) the stand-in does not run.
struct NotRun {
    std::string className, name;
    std::size_t line = 0;  // where the first of its kind is
};

struct SceneText {
    std::string text;        // the file's bytes as read
    std::string lineEnd;     // the first line's ending, which written lines take
    int version = 0;         // 3, 4 or 5
    SceneSettings settings;
    std::vector<SceneItem> items;      // in scene order
    std::vector<PluginBlock> plugins;  // every plug-in block at the top level, in file order
    std::vector<NotRun> notRun;        // once per plug-in name
    std::unordered_map<std::uint32_t, std::size_t> itemIndex;  // by item number

    // The item holding the number, or null.
    const SceneItem* item(std::uint32_t number) const;
};

// What is wrong with a file that is refused: the line (from 1; 0 for the file
// as a whole) and the reason.
struct SceneError {
    std::size_t line = 0;
    std::string what;
};

// Reads a scene from its bytes, checking all of it first: on failure `scene`
// is left as it was and `error` says what is wrong, and where.
bool readScene(std::string text, SceneText& scene, SceneError& error);
// The same from a file; the error reads "path:line: reason" (or "path: reason").
bool readSceneFile(const std::string& path, SceneText& scene, std::string& error);

// Whether a file starting with `bytes` is a scene: its first line is LWSC,
// after a UTF-8 byte order mark an editor may have put there.
bool startsAsScene(std::string_view bytes);
// The text without a UTF-8 byte order mark at its start.
std::string_view withoutByteOrderMark(std::string_view text);

// What a file that is not a scene of a version read looks like, in words
// ("an empty file", "an object file (LWO2)", ...).
std::string describeNonScene(std::string_view bytes);

}  // namespace host::lws
