// The report of `sinewrig check`: one line per check under a heading per
// part, each PASS, FAIL or INFO, and a verdict line at the end. Lines are
// written as they are made, so a module that brings the checker down still
// leaves the report up to that point.
#pragma once

#include <ostream>
#include <string>

#include "tools/sinewrig/common/hex_number.h"

namespace sinewrig_tool {

class CheckReport {
public:
    explicit CheckReport(std::ostream& out) : out_(out) {}

    void heading(const std::string& title);
    void pass(const std::string& what) { line("PASS", what); }
    void fail(const std::string& what);
    void info(const std::string& what) { line("INFO", what); }
    // PASS when `passed`, FAIL otherwise.
    void check(bool passed, const std::string& what);

    int failures() const { return failures_; }
    // A line of a report made elsewhere (a child process), and its failures.
    void relay(const std::string& line);
    void addFailures(int failures) { failures_ += failures; }
    // "verdict: PASS" or "verdict: FAIL (N failed)"; gives the exit status.
    int verdict();

private:
    void line(const char* mark, const std::string& what);

    std::ostream& out_;
    int failures_ = 0;
};

// A text from the module, quoted, with control bytes, bytes above 0x7E, the
// quote and the backslash as \xNN: the report stays plain ASCII.
std::string quotedText(const char* text);

}  // namespace sinewrig_tool
