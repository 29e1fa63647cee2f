// SPDX-License-Identifier: MIT
#include "tests/GdbSession.h"

#include "tests/FaultFirmware.h"
#include "tests/QemuBoard.h"

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

std::string CounterFirmware() {
    // ldr r0, =0x20000100; movs r1, #0; loop: adds r1, #1; str r1, [r0]; (0x18) b loop; nop; the literal.
    return FaultFirmware({0x4802, 0x2100, 0x3101, 0x6001, 0xE7FC, 0xBF00}, {0x20000100});
}

std::string WindowArgumentsFile(const std::string& folder) { return folder + "/window-args"; }

std::string FindGdb() { return FindOnPath("gdb-multiarch"); }

std::string ExtensionPath() { return std::string(TAVLIN_SOURCE_DIR) + "/gdb/tavlin.py"; }
std::string TavlinProgramPath() { return TAVLIN_PROGRAM_PATH; }

#ifndef _WIN32

namespace {

// fork and exec `argv` with `environment` added; its stdin is `input` (or
// /dev/null), its stdout and stderr the pipes' write ends (-1: the same as stdout).
pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& environment, int input, int out,
            int err) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    const int null = open("/dev/null", O_RDONLY);
    dup2(input >= 0 ? input : null, 0);
    dup2(out, 1);
    dup2(err >= 0 ? err : out, 2);
    for (int fd = 3; fd < 256; ++fd) close(fd);
    for (const std::string& setting : environment) putenv(strdup(setting.c_str()));
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
}

int ExitCodeOf(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

}  // namespace

ProcessOutcome RunProcess(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                          std::chrono::milliseconds deadline) {
    ProcessOutcome outcome;
    int out[2], err[2];
    if (pipe(out) != 0 || pipe(err) != 0) return outcome;
    const pid_t pid = Spawn(argv, environment, -1, out[1], err[1]);
    close(out[1]);
    close(err[1]);
    const auto end = std::chrono::steady_clock::now() + deadline;
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* into[2] = {&outcome.out, &outcome.err};
    int open = 2;
    while (open > 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            outcome.timedOut = true;
            kill(pid, SIGKILL);
            break;
        }
        if (poll(fds, 2, static_cast<int>(left.count())) <= 0) continue;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
            char chunk[4096];
            const ssize_t got = read(fds[i].fd, chunk, sizeof chunk);
            if (got > 0) {
                into[i]->append(chunk, static_cast<std::size_t>(got));
            } else {
                fds[i].fd = -1;
                --open;
            }
        }
    }
    close(out[0]);
    close(err[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    outcome.code = outcome.timedOut ? -1 : ExitCodeOf(status);
    return outcome;
}

std::string WriteWindowRecorder(const std::string& folder) {
    const std::string args = WindowArgumentsFile(folder);
    const std::string script = folder + "/tavlin-recorder";
    std::ofstream(script) << "#!/bin/sh\n"
                             "case \" $* \" in\n"
                             "  *' --read '*|*' --write '*|*' --fault '*|*' --check '*|*' --dump '*) exec '"
                          << TavlinProgramPath()
                          << "' \"$@\";;\n"
                             "esac\n"
                             "printf '%s\\n' \"$@\" > '"
                          << args << ".part' && mv '" << args << ".part' '" << args << "'\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    return script;
}

ProcessOutcome RunBatchGdb(const std::string& endpoint, const std::vector<std::string>& commands,
                           std::chrono::milliseconds deadline, const std::string& program) {
    std::vector<std::string> argv{FindGdb(), "-nx", "-batch", "-ex", "set confirm off", "-ex",
                                  "source " + ExtensionPath()};
    if (!endpoint.empty()) argv.insert(argv.end(), {"-ex", "target remote " + endpoint});
    for (const std::string& command : commands) {
        argv.push_back("-ex");
        argv.push_back(command);
    }
    return RunProcess(argv, {"TAVLIN_PROGRAM=" + (program.empty() ? TavlinProgramPath() : program)}, deadline);
}

GdbPipeSession::GdbPipeSession(const std::string& endpoint, const std::vector<std::string>& environment) {
    int input[2], output[2];
    if (pipe(input) != 0 || pipe(output) != 0) return;
    const std::vector<std::string> argv{FindGdb(), "-nx", "-q", "-ex", "set confirm off", "-ex", "set pagination off",
                                        "-ex", "source " + ExtensionPath(), "-ex", "target remote " + endpoint};
    m_pid = Spawn(argv, environment, input[0], output[1], -1);
    close(input[0]);
    close(output[1]);
    m_input = input[1];
    m_outputFd = output[0];
    signal(SIGPIPE, SIG_IGN);  // a GDB that ended fails the test, not the process
}

GdbPipeSession::~GdbPipeSession() {
    if (m_input >= 0) close(m_input);
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
    if (m_outputFd >= 0) close(m_outputFd);
}

void GdbPipeSession::Send(const std::string& command) {
    const std::string line = command + "\n";
    if (m_input >= 0) (void)!write(m_input, line.data(), line.size());
}

void GdbPipeSession::ReadAvailable(int timeoutMs) {
    pollfd fd{m_outputFd, POLLIN, 0};
    if (m_outputFd < 0 || poll(&fd, 1, timeoutMs) <= 0) return;
    char chunk[4096];
    const ssize_t got = read(m_outputFd, chunk, sizeof chunk);
    if (got > 0) m_output.append(chunk, static_cast<std::size_t>(got));
}

bool GdbPipeSession::WaitFor(const std::string& text, std::chrono::milliseconds wait) {
    const auto end = std::chrono::steady_clock::now() + wait;
    for (;;) {
        const auto found = m_output.find(text, m_taken);
        if (found != std::string::npos) {
            m_taken = found + text.size();
            return true;
        }
        if (std::chrono::steady_clock::now() > end) return false;
        ReadAvailable(20);
    }
}

void GdbPipeSession::Interrupt() {
    if (m_pid > 0) kill(m_pid, SIGINT);
}

int GdbPipeSession::WaitForExit(std::chrono::milliseconds wait) {
    const auto end = std::chrono::steady_clock::now() + wait;
    while (m_pid > 0) {
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            ReadAvailable(0);
            return ExitCodeOf(status);
        }
        if (std::chrono::steady_clock::now() > end) return -1;
        ReadAvailable(20);
    }
    return -1;
}

#else  // Windows: no gdb-multiarch to drive; REQUIRE_GDB() skips every test that would.

ProcessOutcome RunProcess(const std::vector<std::string>&, const std::vector<std::string>&, std::chrono::milliseconds) {
    return {};
}
std::string WriteWindowRecorder(const std::string&) { return {}; }
ProcessOutcome RunBatchGdb(const std::string&, const std::vector<std::string>&, std::chrono::milliseconds,
                           const std::string&) {
    return {};
}
GdbPipeSession::GdbPipeSession(const std::string&, const std::vector<std::string>&) {}
GdbPipeSession::~GdbPipeSession() = default;
void GdbPipeSession::Send(const std::string&) {}
void GdbPipeSession::ReadAvailable(int) {}
bool GdbPipeSession::WaitFor(const std::string&, std::chrono::milliseconds) { return false; }
void GdbPipeSession::Interrupt() {}
int GdbPipeSession::WaitForExit(std::chrono::milliseconds) { return -1; }

#endif
