#include "host/layout/layout_generic.h"

#include <cstdlib>
#include <sstream>

#include "host/layout/layout.h"
#include "host/layout/motion_handlers.h"
#include "abi/item_number.h"

namespace host {

namespace {

constexpr int kItemColours = 15;

Layout& layoutOf(void* data) { return *static_cast<Layout*>(data); }

int saveScene(const char* file) {
    Layout::active()->log.record("saveScene", nullptr, 0, 0.0, file ? file : "(null)");
    return 0;
}

int loadScene(const char* file, const char*) {
    Layout::active()->log.record("loadScene", nullptr, 0, 0.0, file ? file : "(null)");
    return 0;
}

LWCommandCode lookup(void* data, const char* name) {
    layoutOf(data).log.record("lookup", nullptr, 0, 0.0, name ? name : "(null)");
    return 0;
}

int execute(void* data, LWCommandCode, int, const void*, void*) {
    layoutOf(data).log.record("execute", nullptr);
    return 0;
}

int evaluate(void* data, const char* command) {
    Layout& layout = layoutOf(data);
    layout.log.record("evaluate", nullptr, 0, 0.0, command ? command : "(null)");
    return command && layout.runCommand(command) ? 1 : 0;
}

// A whole word of hex digits, as "%X" prints an item ID.
bool parseHex(const std::string& word, unsigned long& value) {
    if (word.empty() || word.size() > 8 || word.find_first_not_of("0123456789ABCDEFabcdef") != std::string::npos)
        return false;
    value = std::strtoul(word.c_str(), nullptr, 16);
    return true;
}

bool parseInt(const std::string& word, int& value) {
    if (word.empty() || word.size() > 9 || word.find_first_not_of("0123456789") != std::string::npos) return false;
    value = std::atoi(word.c_str());
    return true;
}

}  // namespace

LWLayoutGeneric layoutGenericRecord(Layout& layout) {
    LWLayoutGeneric record{};
    record.saveScene = saveScene;
    record.loadScene = loadScene;
    record.data = &layout;
    record.lookup = lookup;
    record.execute = execute;
    record.evaluate = evaluate;
    return record;
}

bool Layout::runCommand(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    // Commands are words separated by single blanks, as the module formats them.
    std::string joined;
    for (const std::string& word : words) joined += (joined.empty() ? "" : " ") + word;
    bool done = false;
    if (joined == text && !words.empty()) {
        unsigned long id = 0;
        int colour = 0;
        if (words[0] == "SelectItem" && words.size() == 2 && parseHex(words[1], id)) {
            LWItemID item = itemFromNumber(static_cast<std::uint32_t>(id));
            if ((done = scene.find(item) != nullptr)) select({item});
        } else if (words[0] == "ItemColor" && words.size() == 2 && parseInt(words[1], colour) && colour < kItemColours) {
            done = true;
            for (LWItemID item : selection()) scene.find(item)->colour = colour;
        } else if (words[0] == "ApplyServer" && words.size() == 3 && words[1] == "ItemMotionHandler" && motionHandlers) {
            // Every selected item gets the handler, or, when the server cannot be applied, none does.
            done = motionHandlers->canApply(words[2]);
            if (done)
                for (LWItemID item : selection()) motionHandlers->apply(words[2], item);
        }
    }
    commands.push_back(CommandRun{text, done});
    return done;
}

}  // namespace host
