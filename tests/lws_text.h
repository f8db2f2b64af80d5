// Scene file text as the host writes it, for the tests to put together by
// hand: an item's nine channels each as one-key envelopes, or with keys given.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>
#include <vector>

#include "host/lws/load_scene.h"
#include "host/lws/write_scene.h"

namespace lws_text {

// "Key value time spantype p1..p6" lines; the host's default key is TCB (0).
inline std::string envelope(const std::vector<std::string>& keys, const std::string& behaviors = "1 1") {
    std::string text = "{ Envelope\n  " + std::to_string(keys.size()) + "\n";
    for (const std::string& key : keys) text += "  Key " + key + "\n";
    return text + "  Behaviors " + behaviors + "\n}\n";
}

// NumChannels 9 and each channel's envelope: one key at time 0 with the
// value given, or the keys given for that channel.
inline std::string motion(const std::array<std::string, 9>& values,
                          const std::array<std::vector<std::string>, 9>& keys = {}) {
    std::string text = "NumChannels 9\n";
    for (int c = 0; c < 9; ++c)
        text += "Channel " + std::to_string(c) + "\n" +
                envelope(keys[c].empty() ? std::vector<std::string>{values[c] + " 0 0 0 0 0 0 0 0"} : keys[c]);
    return text;
}

inline const std::array<std::string, 9> kStill = {"0", "0", "0", "0", "0", "0", "1", "1", "1"};

inline std::string withCrlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

inline std::string written(const host::lws::SceneText& scene, const host::lws::SceneChanges& changes = {}) {
    std::ostringstream out;
    std::string error;
    EXPECT_TRUE(host::lws::writeScene(scene, changes, out, error)) << error;
    return out.str();
}

inline host::lws::SceneText read(const std::string& text) {
    host::lws::SceneText scene;
    host::lws::SceneError error;
    EXPECT_TRUE(host::lws::readScene(text, scene, error)) << "line " << error.line << ": " << error.what;
    return scene;
}

}  // namespace lws_text
