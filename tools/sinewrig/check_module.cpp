#include "tools/sinewrig/check_module.h"

#include <cstdlib>
#include <functional>
#include <memory>
#include <set>
#include <sstream>
#include <utility>
#include <vector>

#if !defined(_WIN32)
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#endif

#include "host/layout/layout.h"
#include "host/modeler/modeler.h"
#include "host/process/module_file.h"
#include "host/process/module_probe.h"
#include "tools/sinewrig/check_commands.h"
#include "tools/sinewrig/check_motion_handler.h"
#include "tools/sinewrig/check_motion_options.h"
#include "tools/sinewrig/check_report.h"
#include "tools/sinewrig/check_services.h"
#include "tools/sinewrig/check_versions.h"
#include "tools/sinewrig/common/module_headers.h"
#include "tools/sinewrig/server_classes.h"

namespace sinewrig_tool {

namespace {

struct ServerRow {
    std::string className, name;
};

// A bare file name means the file in the current folder; given as it is, the
// library loader would look for it in its own folders instead.
std::string loadablePath(const std::string& path) {
    if (path.find_first_of("/\\") != std::string::npos) return path;
#if defined(_WIN32)
    return ".\\" + path;
#else
    return "./" + path;
#endif
}

// False when the host would refuse the file for its descriptor.
bool reportDescriptor(CheckReport& report, const host::ModuleProbe& probe) {
    report.pass("opens as a library");
    report.check(probe.hasDescriptor, probe.hasDescriptor ? "exports _mod_descrip" : "exports no _mod_descrip");
    bool accepted = probe.hasDescriptor;
    for (const host::DescriptorCheck& check : probe.checks) {
        if (check.passed)
            report.pass(check.what + " " + check.found);
        else if (check.required)
            report.fail(check.reason);
        else
            report.info(check.what + " " + check.found + " (not required on this system)");
        accepted = accepted && (check.passed || !check.required);
    }
    return accepted;
}

// The rows of the server table; a row the host could not use is a failure and left out.
std::vector<ServerRow> listServers(CheckReport& report, const host::ModuleFile& module) {
    report.heading("servers");
    std::vector<ServerRow> rows;
    std::set<std::pair<std::string, std::string>> seen;
    const std::vector<const ServerRecord*> table = module.servers();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const ServerRecord& row = *table[i];
        const std::string what = "row " + std::to_string(i + 1) + ": " + quotedText(row.className) + " " +
                                 quotedText(row.name);
        if (!row.name) {
            report.fail(what + " has no name");
        } else if (!row.activate) {
            report.fail(what + " has no activation function");
        } else if (!seen.insert({row.className, row.name}).second) {
            report.fail(what + " is listed twice; the host uses only the first");
        } else {
            report.info(std::string(row.className) + " " + row.name +
                        (knownServerClass(row.className) ? "" : " (a class the checker does not know)"));
            rows.push_back({row.className, row.name});
        }
    }
    if (table.empty()) report.fail("the server table is empty");
    return rows;
}

// Each server in a fresh stand-in host process: the host programs, and the
// module file loaded anew, so no server sees what another left behind.
void checkServer(CheckReport& report, const std::string& path, const ServerRow& server) {
    report.heading(server.className + " " + server.name);
    const ServerClass* known = knownServerClass(server.className);
    if (!known) {
        report.info("not probed");
        return;
    }
    host::Layout layout;
    host::Modeler modeler;
    std::string error;
    const std::unique_ptr<host::ModuleFile> module = host::ModuleFile::load(path, error);
    if (!module) {
        report.fail(error);
        return;
    }
    const ServerRecord* found = module->findServer(server.className, server.name);
    if (!found || !found->activate) {
        report.fail("the first row of this server has no activation function");
        return;
    }
    const ServerRecord& row = *found;
    checkRefusedVersions(report, row, *known, module->serverData());
    const std::string& name = server.className;
    if (name == "CommandSequence") checkCommandSequence(report, modeler, *module, row);
    if (name == "LayoutGeneric") checkLayoutGeneric(report, layout, *module, row);
    if (name == "ItemMotionHandler") checkMotionHandler(report, layout, *module, server.name);
    if (name == "ItemMotionInterface") checkMotionOptions(report, layout, *module, server.name);
    reportLookups(report, {{&modeler.services, 0}, {&layout.services, 0}});
}

// What a step in a child process sends besides its report: lines that start
// with this byte, which no report line does.
constexpr char kControl = '\x01';
// How long a step may take before it counts as hung: SINEWRIG_CHECK_SECONDS, or a minute.
int stepSeconds() {
    const char* given = std::getenv("SINEWRIG_CHECK_SECONDS");
    const int seconds = given ? std::atoi(given) : 0;
    return seconds > 0 ? seconds : 60;
}

using Step = std::function<void(CheckReport& report, std::ostream& control)>;

// Control lines after the marker, and whether the step ran to its end.
struct StepEnd {
    bool finished = false;
    std::vector<std::string> control;
};

void takeLine(CheckReport& report, const std::string& line, StepEnd& end, std::string& lastLine) {
    if (line.empty() || line[0] != kControl) {
        report.relay(line);
        lastLine = line;
        return;
    }
    const std::string message = line.substr(1);
    if (message.rfind("failures ", 0) == 0)
        report.addFailures(std::stoi(message.substr(9)));
    else if (message == "finished")
        end.finished = true;
    else
        end.control.push_back(message);
}

std::string trimmed(const std::string& line) {
    const std::size_t from = line.find_first_not_of(' ');
    return from == std::string::npos ? line : line.substr(from);
}

#if defined(_WIN32)
// No fork here: the step runs in this process.
StepEnd runStep(CheckReport& report, const std::string&, const Step& step) {
    std::ostringstream control;
    step(report, control);
    StepEnd end;
    std::istringstream lines(control.str());
    for (std::string line; std::getline(lines, line);) end.control.push_back(line);
    end.finished = true;
    return end;
}
#else
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

// The step in a child process, as a plug-in validator runs a module: its
// report is relayed line by line, and a crash, a hang or any other early end
// is a FAIL naming the step and the last thing it reported.
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
        PipeBuffer buffer(channel[1]);
        std::ostream stream(&buffer);
        CheckReport childReport(stream);
        std::ostringstream control;
        step(childReport, control);
        std::istringstream lines(control.str());
        for (std::string line; std::getline(lines, line);) stream << kControl << line << "\n";
        stream << kControl << "failures " << childReport.failures() << "\n" << kControl << "finished\n";
        stream.flush();
        // No exit handlers, no destructors: whatever the module left behind is not run.
        _exit(0);
    }
    close(channel[1]);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(stepSeconds());
    std::string pending, lastLine;
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
            takeLine(report, pending.substr(0, newline), end, lastLine);
            pending.erase(0, newline + 1);
        }
    }
    close(channel[0]);
    if (timedOut) kill(child, SIGKILL);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!pending.empty()) takeLine(report, pending, end, lastLine);
    if (end.finished) return end;
    const std::string after = lastLine.empty() ? "" : ", after \"" + trimmed(lastLine) + "\"";
    if (timedOut)
        report.fail(name + ": the module did not finish within " + std::to_string(stepSeconds()) + " s" + after +
                    "; stopped");
    else if (WIFSIGNALED(status))
        report.fail(name + ": the module crashed with signal " + std::to_string(WTERMSIG(status)) + " (" +
                    strsignal(WTERMSIG(status)) + ")" + after);
    else
        report.fail(name + ": the module ended the process with status " +
                    std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + after);
    return end;
}
#endif

}  // namespace

int checkModule(const CheckOptions& options, Console console) {
    const std::string path = loadablePath(options.plugin);
    CheckReport report(console.out);
    report.heading("module file " + path);
    // A file cut short would be mapped and then fault where it is missing.
    std::string cutShort;
    if (!headersFitFile(path, cutShort)) {
        console.err << "sinewrig check: " << options.plugin << ": " << cutShort << std::endl;
        report.fail(cutShort + "; refused before loading");
        console.out << "verdict: FAIL (the file cannot be loaded)" << std::endl;
        return kExitBadInput;
    }

    // The descriptor and the server table, read in a child process too:
    // startup is the module's own code.
    const StepEnd table = runStep(report, "loading the module", [&](CheckReport& child, std::ostream& control) {
        const host::ModuleProbe probe = host::probeModuleFile(path);
        if (!probe.error.empty()) {
            control << "unloadable " << probe.error << "\n";
            return;
        }
        if (!reportDescriptor(child, probe)) return;
        std::string error;
        const std::unique_ptr<host::ModuleFile> module = host::ModuleFile::load(path, error);
        child.check(module != nullptr, module ? "startup gave its server data" : error);
        if (!module) return;
        if (!module->descriptor().shutdown) child.info("shutdown: null");
        for (const ServerRow& server : listServers(child, *module))
            control << "server " << server.className << '\t' << server.name << "\n";
    });
    std::vector<ServerRow> servers;
    for (const std::string& message : table.control) {
        if (message.rfind("unloadable ", 0) == 0) {
            console.err << "sinewrig check: " << message.substr(11) << std::endl;
            console.out << "verdict: FAIL (the file cannot be loaded)" << std::endl;
            return kExitBadInput;
        }
        if (message.rfind("server ", 0) == 0) {
            const std::size_t tab = message.find('\t');
            if (tab != std::string::npos) servers.push_back({message.substr(7, tab - 7), message.substr(tab + 1)});
        }
    }
    // Each server in a child process of its own: a fresh host, and a crash
    // in one does not stop the others being checked.
    for (const ServerRow& server : servers)
        runStep(report, server.className + " " + server.name,
                [&](CheckReport& child, std::ostream&) { checkServer(child, path, server); });
    return report.verdict();
}

}  // namespace sinewrig_tool
