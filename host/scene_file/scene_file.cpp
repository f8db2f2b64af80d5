#include "host/scene_file/scene_file.h"

#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace host {

namespace {

constexpr const char* kHeader = "SinewrigStandInScene 2";

std::uintptr_t raw(LWItemID id) { return reinterpret_cast<std::uintptr_t>(id); }
LWItemID itemFrom(unsigned long long value) { return reinterpret_cast<LWItemID>(static_cast<std::uintptr_t>(value)); }

// Names are kept byte for byte: anything outside printable ASCII, and the
// quote and backslash, as \xNN.
std::string quoted(const std::string& name) {
    std::string out = "\"";
    for (unsigned char c : name) {
        if (c > 0x20 && c < 0x7F && c != '"' && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02X", c);
            out += escape;
        }
    }
    return out + "\"";
}

bool unquoted(const std::string& text, std::string& name) {
    if (text.size() < 2 || text.front() != '"' || text.back() != '"') return false;
    name.clear();
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
        if (text[i] != '\\') {
            name += text[i];
            continue;
        }
        if (i + 4 >= text.size() || text[i + 1] != 'x') return false;
        name += static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16));
        i += 3;
    }
    return true;
}

const char* kParams[] = {"position", "rotation", "scaling"};
const LWItemParam kParamIDs[] = {LWIP_POSITION, LWIP_ROTATION, LWIP_SCALING};

}  // namespace

bool saveSceneFile(const std::string& path, const Layout& layout, const MotionHandlers& handlers,
                   std::string& error) {
    std::ostringstream out;
    out << kHeader << "\n";
    for (const Item& item : layout.scene.items()) {
        out << "Item " << item.type << " " << raw(item.id) << " " << raw(item.parent) << " " << raw(item.owner)
            << " " << exactNumber(item.restLength) << " " << item.colour << " " << (item.named ? 1 : 0) << " "
            << quoted(item.name) << "\n";
        for (int p = 0; p < 3; ++p) {
            const Channel* channels = Scene::channels(item, kParamIDs[p]);
            for (int axis = 0; axis < 3; ++axis) {
                out << "Channel " << kParams[p] << " " << axis << " " << channels[axis].keys.size();
                for (const Key& key : channels[axis].keys)
                    out << " " << exactNumber(key.time) << " " << exactNumber(key.value);
                out << "\n";
            }
        }
    }
    for (const MotionHandlers::Applied& applied : handlers.instances()) {
        out << "Handler " << applied.server->name << " " << raw(applied.item) << "\n";
        out << sceneDataLines(handlers.save(applied.instance));
        out << "EndHandler\n";
    }
    std::ofstream file(path, std::ios::binary);
    file << out.str();
    if (!file.flush()) {
        error = path + ": cannot be written";
        return false;
    }
    return true;
}

bool loadSceneFile(const std::string& path, Layout& layout, MotionHandlers& handlers, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    std::string line;
    if (!file || !std::getline(file, line) || line != kHeader) {
        error = path + ": not a stand-in scene file";
        return false;
    }
    if (!layout.scene.items().empty()) {
        error = path + ": the Layout already has items";
        return false;
    }
    auto fail = [&](int number, const std::string& why) {
        error = path + ":" + std::to_string(number) + ": " + why;
        return false;
    };
    Item* item = nullptr;
    LWItemID handlerItem = nullptr;
    std::string handlerServer;
    SceneData data;
    bool inHandler = false;
    for (int lineNumber = 2; std::getline(file, line); ++lineNumber) {
        std::istringstream in(line);
        std::string word;
        in >> word;
        if (word == "Item") {
            int type = 0, named = 1, colour = -1;
            unsigned long long id = 0, parent = 0, owner = 0;
            double restLength = 0;
            std::string name;
            if (!(in >> type >> id >> parent >> owner >> restLength >> colour >> named >> std::ws))
                return fail(lineNumber, "bad item");
            std::string rest;
            std::getline(in, rest);
            if (!unquoted(rest, name)) return fail(lineNumber, "bad item name");
            if (id > 0xFFFFFFFFull) return fail(lineNumber, "item ID wider than 32 bits");
            LWItemID made = layout.scene.addNumberedItem(static_cast<std::uint32_t>(id), type, name, itemFrom(parent),
                                                         itemFrom(owner));
            if (!made) return fail(lineNumber, "item ID 0 or held by another item");
            item = layout.scene.find(made);
            item->restLength = restLength;
            item->named = named != 0;
            item->colour = colour;
        } else if (word == "Channel") {
            std::string param;
            int axis = -1;
            std::size_t count = 0;
            in >> param >> axis >> count;
            int p = 0;
            while (p < 3 && param != kParams[p]) ++p;
            if (!item || p == 3 || axis < 0 || axis > 2 || !in) return fail(lineNumber, "bad channel");
            Channel& channel = Scene::channels(*item, kParamIDs[p])[axis];
            channel.keys.clear();
            for (std::size_t k = 0; k < count; ++k) {
                double time = 0, value = 0;
                if (!(in >> time >> value)) return fail(lineNumber, "bad key");
                channel.setKey(time, value);
            }
        } else if (word == "Handler") {
            std::string server;
            unsigned long long id = 0;
            if (!(in >> server >> id)) return fail(lineNumber, "bad handler");
            handlerServer = server;
            handlerItem = itemFrom(id);
            data.clear();
            inHandler = true;
        } else if (word == "Data" && inHandler) {
            SceneWrite write;
            std::size_t count = 0;
            if (!(in >> write.type >> count)) return fail(lineNumber, "bad data");
            for (std::size_t k = 0; k < count; ++k) {
                double value = 0;
                if (!(in >> value)) return fail(lineNumber, "bad value");
                write.values.push_back(value);
            }
            data.push_back(std::move(write));
        } else if (word == "EndHandler" && inHandler) {
            inHandler = false;
            LWInstance instance = handlers.apply(handlerServer, handlerItem);
            if (!instance) return fail(lineNumber, "the handler cannot be applied");
            handlers.load(instance, data);
        } else if (!word.empty()) {
            return fail(lineNumber, "unknown line");
        }
    }
    if (inHandler) return fail(0, "handler block not ended");
    return true;
}

}  // namespace host
