#include "host/layout/info_messages.h"

#include "host/layout/layout.h"

namespace host {

namespace {

std::optional<std::string> text(const char* line) { return line ? std::optional<std::string>(line) : std::nullopt; }

void show(const char* kind, const char* line1, const char* line2) {
    Layout& layout = *Layout::active();
    layout.log.record(kind, nullptr, 0, 0.0, line1 ? line1 : "(null)");
    layout.messages.push_back(InfoMessage{kind, text(line1), text(line2)});
}

void info(const char* line1, const char* line2) { show("info", line1, line2); }
void error(const char* line1, const char* line2) { show("error", line1, line2); }

LWMessageFuncs record = {info, error};

}  // namespace

LWMessageFuncs* infoMessagesRecord() { return &record; }

}  // namespace host
