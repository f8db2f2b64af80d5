#include "tools/sinewrig/common/json_file.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

#include "tools/sinewrig/common/system_reason.h"

namespace sinewrig_tool {

namespace {

// Builds the document as the JSON library's own parser does, but refuses a
// key given twice in one object, and keeps where a fault was found.
class StrictDocument {
public:
    Json root;
    std::string error;
    std::size_t errorAt = 0;  // bytes read when the library gave up
    bool libraryError = false;

    bool null() { return put(Json(nullptr)); }
    bool boolean(bool value) { return put(Json(value)); }
    bool number_integer(Json::number_integer_t value) { return put(Json(value)); }
    bool number_unsigned(Json::number_unsigned_t value) { return put(Json(value)); }
    bool number_float(Json::number_float_t value, const std::string&) { return put(Json(value)); }
    bool string(std::string& value) { return put(Json(std::move(value))); }
    bool binary(Json::binary_t& value) { return put(Json(std::move(value))); }
    bool start_object(std::size_t) { return open(Json::object()); }
    bool start_array(std::size_t) { return open(Json::array()); }
    bool end_object() { return close(); }
    bool end_array() { return close(); }
    bool key(std::string& name) {
        Container& top = open_.back();
        if (!top.keys.insert(name).second) {
            error = at(top.path, name) + ": the key \"" + name + "\" is given twice in one object";
            return false;
        }
        top.key = name;
        return true;
    }
    bool parse_error(std::size_t position, const std::string&, const Json::exception& e) {
        error = e.what();
        errorAt = position;
        libraryError = true;
        return false;
    }

private:
    struct Container {
        Json* value;
        std::string path;
        std::size_t next = 0;  // an array's next index
        std::string key;       // an object's latest key
        std::set<std::string> keys;
    };
    std::vector<Container> open_;

    std::string childPath() {
        if (open_.empty()) return "";
        Container& top = open_.back();
        return top.value->is_array() ? entryAt(top.path, top.next) : at(top.path, top.key);
    }
    Json* place(Json value) {
        if (open_.empty()) {
            root = std::move(value);
            return &root;
        }
        Container& top = open_.back();
        if (top.value->is_array()) {
            ++top.next;
            top.value->push_back(std::move(value));
            return &top.value->back();
        }
        Json& slot = (*top.value)[top.key];
        slot = std::move(value);
        return &slot;
    }
    bool put(Json value) {
        place(std::move(value));
        return true;
    }
    bool open(Json value) {
        std::string path = childPath();
        Json* placed = place(std::move(value));
        open_.push_back(Container{placed, std::move(path), 0, {}, {}});
        return true;
    }
    bool close() {
        open_.pop_back();
        return true;
    }
};

// "line 3, column 5" of the byte `offset` of `text`.
std::string lineAndColumn(const std::string& text, std::size_t offset) {
    offset = std::min(offset, text.size());
    const std::size_t line = 1 + std::count(text.begin(), text.begin() + offset, '\n');
    const std::size_t lineStart = text.rfind('\n', offset == 0 ? 0 : offset - 1);
    const std::size_t column = offset - (lineStart == std::string::npos || offset == 0 ? 0 : lineStart + 1);
    return "line " + std::to_string(line) + ", column " + std::to_string(std::max<std::size_t>(column, 1));
}

bool readText(const std::string& path, const std::string& kind, std::string& text, std::string& error) {
    std::error_code failed;
    const auto status = std::filesystem::status(path, failed);
    if (std::filesystem::is_directory(status)) {
        error = path + ": is a folder, not " + kind;
        return false;
    }
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        error = path + ": is not a regular file (a device, FIFO or socket), not " + kind;
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = path + ": cannot be read (" + systemReason() + ")";
        return false;
    }
    std::ostringstream content;
    content << file.rdbuf();
    if (file.bad()) {
        error = path + ": cannot be read (" + systemReason() + ")";
        return false;
    }
    text = content.str();
    return true;
}

}  // namespace

bool readJsonFile(const std::string& path, const std::string& kind, Json& root, std::string& error) {
    std::string text;
    if (!readText(path, kind, text, error)) return false;
    StrictDocument document;
    if (Json::sax_parse(text, &document)) {
        root = std::move(document.root);
        return true;
    }
    if (!document.libraryError) {
        error = path + ": " + document.error;
        return false;
    }
    // The library's own parse errors name the line and column; for the
    // rest (a number it cannot hold) the place is worked out here.
    const std::string& message = document.error;
    const std::size_t from = message.find("parse error");
    if (from != std::string::npos) {
        error = path + ": not valid JSON: " + message.substr(from);
    } else {
        const std::size_t bracket = message.find("] ");
        error = path + ": not valid JSON: " + lineAndColumn(text, document.errorAt) + ": " +
                (bracket == std::string::npos ? message : message.substr(bracket + 2)) +
                " (beyond what a number can hold)";
    }
    return false;
}

bool buildFromJsonFile(const std::string& path, const std::string& kind, const std::function<void(const Json&)>& build,
                       std::string& error) {
    Json root;
    if (!readJsonFile(path, kind, root, error)) return false;
    try {
        build(root);
    } catch (const FieldError& e) {
        error = e.inFile(path);
        return false;
    } catch (const Json::exception& e) {
        error = path + ": " + e.what();
        return false;
    }
    return true;
}

}  // namespace sinewrig_tool
