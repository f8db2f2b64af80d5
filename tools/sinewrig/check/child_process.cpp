#include "tools/sinewrig/check/child_process.h"

#include <cstdlib>
#include <optional>
#include <sstream>

#if !defined(_WIN32)
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#endif

namespace sinewrig_tool {

namespace {

#if !defined(_WIN32)
// A message from the child: a line that starts with this byte, which no
// report line does. The runner's own say how many checks failed and that
// the step ran to its end.
constexpr char kMessage = '\x01';
struct Failures {
    int count;
};
struct Finished {};
using ChildMessage = std::variant<ModuleUnloadable, ServerListed, Failures, Finished>;

// Fields of a message line are split by tabs; a tab, a line end or a
// backslash in one is written with a backslash.
std::string escapedField(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\') out += "\\\\";
        else if (c == '\t') out += "\\t";
        else if (c == '\n') out += "\\n";
        else out += c;
    }
    return out;
}

std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> fields(1);
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\t') {
            fields.emplace_back();
        } else if (line[i] == '\\' && i + 1 < line.size()) {
            const char next = line[++i];
            fields.back() += next == 't' ? '\t' : next == 'n' ? '\n' : next;
        } else {
            fields.back() += line[i];
        }
    }
    return fields;
}

std::string lineOf(const ChildMessage& message) {
    struct Writer {
        std::string operator()(const ModuleUnloadable& m) const { return "unloadable\t" + escapedField(m.reason); }
        std::string operator()(const ServerListed& m) const {
            return "server\t" + escapedField(m.className) + "\t" + escapedField(m.name);
        }
        std::string operator()(const Failures& m) const { return "failures\t" + std::to_string(m.count); }
        std::string operator()(const Finished&) const { return "finished"; }
    };
    return kMessage + std::visit(Writer{}, message) + "\n";
}

// Nothing for a line that is no message the runner knows.
std::optional<ChildMessage> messageOf(const std::string& line) {
    const std::vector<std::string> fields = fieldsOf(line.substr(1));
    const std::string& kind = fields[0];
    if (kind == "unloadable" && fields.size() == 2) return ModuleUnloadable{fields[1]};
    if (kind == "server" && fields.size() == 3) return ServerListed{fields[1], fields[2]};
    if (kind == "failures" && fields.size() == 2) return Failures{std::atoi(fields[1].c_str())};
    if (kind == "finished" && fields.size() == 1) return Finished{};
    return std::nullopt;
}

int stepSeconds() {
    const char* given = std::getenv("SINEWRIG_CHECK_SECONDS");
    const int seconds = given ? std::atoi(given) : 0;
    return seconds > 0 ? seconds : 60;
}

// A stream into a pipe, unbuffered, so that whatever was reported before a
// crash has reached the parent.
class PipeBuffer : public std::streambuf {
public:
    explicit PipeBuffer(int fd) : fd_(fd) {}

protected:
    int overflow(int c) override {
        if (c == traits_type::eof()) return traits_type::not_eof(c);
        const char byte = static_cast<char>(c);
        return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        std::streamsize done = 0;
        while (done < count) {
            const ssize_t wrote = ::write(fd_, text + done, static_cast<std::size_t>(count - done));
            if (wrote <= 0) break;
            done += wrote;
        }
        return done;
    }

private:
    int fd_;
};

// The child's side: the step, its messages and the runner's own, and an
// exit with no exit handlers or destructors, so whatever the module left
// behind is not run.
[[noreturn]] void runInChild(int channel, const Step& step) {
    PipeBuffer buffer(channel);
    std::ostream stream(&buffer);
    CheckReport childReport(stream);
    StepMessages messages;
    step(childReport, messages);
    for (const StepMessage& message : messages.sent())
        stream << std::visit([](const auto& m) { return lineOf(ChildMessage{m}); }, message);
    stream << lineOf(Failures{childReport.failures()}) << lineOf(Finished{});
    stream.flush();
    _exit(0);
}

// The parent's side: each line of the child relayed or taken as a message.
class ChildLines {
public:
    ChildLines(CheckReport& report, StepEnd& end) : report_(report), end_(end) {}

    void take(const std::string& line) {
        if (line.empty() || line[0] != kMessage) {
            report_.relay(line);
            lastLine_ = line;
            return;
        }
        const std::optional<ChildMessage> message = messageOf(line);
        if (!message) return;
        if (const auto* failures = std::get_if<Failures>(&*message)) report_.addFailures(failures->count);
        else if (std::holds_alternative<Finished>(*message)) end_.finished = true;
        else if (const auto* unloadable = std::get_if<ModuleUnloadable>(&*message)) end_.messages.push_back(*unloadable);
        else if (const auto* server = std::get_if<ServerListed>(&*message)) end_.messages.push_back(*server);
    }
    // ", after "LAST LINE"", or nothing when the child reported nothing.
    std::string after() const {
        const std::size_t from = lastLine_.find_first_not_of(' ');
        const std::string trimmed = from == std::string::npos ? lastLine_ : lastLine_.substr(from);
        return lastLine_.empty() ? "" : ", after \"" + trimmed + "\"";
    }

private:
    CheckReport& report_;
    StepEnd& end_;
    std::string lastLine_;
};
#endif

}  // namespace

#if defined(_WIN32)
StepEnd runStep(CheckReport& report, const std::string&, const Step& step) {
    StepMessages messages;
    step(report, messages);
    return StepEnd{true, messages.sent()};
}
#else
StepEnd runStep(CheckReport& report, const std::string& name, const Step& step) {
    StepEnd end;
    int channel[2];
    if (pipe(channel) != 0) {
        report.fail(name + ": no pipe to a child process (" + std::strerror(errno) + ")");
        return end;
    }
    const pid_t child = fork();
    if (child < 0) {
        close(channel[0]);
        close(channel[1]);
        report.fail(name + ": no child process (" + std::strerror(errno) + ")");
        return end;
    }
    if (child == 0) {
        close(channel[0]);
        runInChild(channel[1], step);
    }
    close(channel[1]);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(stepSeconds());
    ChildLines lines(report, end);
    std::string pending;
    bool timedOut = false;
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        pollfd ready{channel[0], POLLIN, 0};
        const int polled = poll(&ready, 1, static_cast<int>(left.count()));
        if (polled < 0 && errno == EINTR) continue;
        if (polled == 0) {
            timedOut = true;
            break;
        }
        char chunk[4096];
        const ssize_t got = read(channel[0], chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        pending.append(chunk, static_cast<std::size_t>(got));
        for (std::size_t newline; (newline = pending.find('\n')) != std::string::npos;) {
            lines.take(pending.substr(0, newline));
            pending.erase(0, newline + 1);
        }
    }
    close(channel[0]);
    if (timedOut) kill(child, SIGKILL);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!pending.empty()) lines.take(pending);
    if (end.finished) return end;
    if (timedOut)
        report.fail(name + ": the module did not finish within " + std::to_string(stepSeconds()) + " s" + lines.after() +
                    "; stopped");
    else if (WIFSIGNALED(status))
        report.fail(name + ": the module crashed with signal " + std::to_string(WTERMSIG(status)) + " (" +
                    strsignal(WTERMSIG(status)) + ")" + lines.after());
    else
        report.fail(name + ": the module ended the process with status " +
                    std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + lines.after());
    return end;
}
#endif

}  // namespace sinewrig_tool
