// SPDX-License-Identifier: MIT
#pragma once
// Debian's gdb-multiarch with tavlin's GDB extension (gdb/tavlin.py) sourced,
// attached to QEMU's emulated board, for the tests of the extension and its
// benchmark: a batch session run to its end, or a session fed one command at
// a time on its standard input. Every wait has a deadline, and the process is
// killed and reaped when the object goes away.
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

// A firmware of a few bytes (laid out as tests/FaultFirmware.h lays them)
// that counts SCRATCH.WORD0 (0x20000100) up by one each time round a loop;
// the loop's store is done when the core reaches kCounterBreak.
std::string CounterFirmware();
inline constexpr std::uint32_t kCounterBreak = 0x18;

struct ProcessOutcome {
    int code = -1;  // the exit code; -1 when it was killed at its deadline or by a signal
    std::string out, err;
    bool timedOut = false;
};

// Runs `argv` with `environment` (NAME=VALUE) added, its standard input empty,
// and kills it when `deadline` passes first.
ProcessOutcome RunProcess(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                          std::chrono::milliseconds deadline);

// Writes into `folder` a stand-in for the program (for TAVLIN_PROGRAM) that
// hands every mode but the window to this build's program and, for the
// window, writes its arguments one a line to WindowArgumentsFile(folder), so
// the caller opens that window itself, in its own process. Returns its path.
std::string WriteWindowRecorder(const std::string& folder);
std::string WindowArgumentsFile(const std::string& folder);

// The path of gdb-multiarch on PATH, or empty.
std::string FindGdb();
// The extension in the source tree and the program of this build.
std::string ExtensionPath();
std::string TavlinProgramPath();

// gdb-multiarch -nx -batch -ex 'source tavlin.py' -ex 'target remote ENDPOINT'
// -ex COMMAND... (no target for an empty ENDPOINT), with TAVLIN_PROGRAM naming this build's program (or `program`).
ProcessOutcome RunBatchGdb(const std::string& endpoint, const std::vector<std::string>& commands,
                           std::chrono::milliseconds deadline = std::chrono::seconds(60),
                           const std::string& program = {});

// A GDB that reads its commands from a pipe, as a front end drives it: it
// waits at its prompt, running its event loop, between commands.
class GdbPipeSession {
public:
    GdbPipeSession(const std::string& endpoint, const std::vector<std::string>& environment);
    ~GdbPipeSession();  // kills GDB if it is still running
    GdbPipeSession(const GdbPipeSession&) = delete;
    GdbPipeSession& operator=(const GdbPipeSession&) = delete;

    void Send(const std::string& command);
    // Waits until GDB's output (both streams) holds `text` after what an
    // earlier wait took; false when `wait` passes first.
    bool WaitFor(const std::string& text, std::chrono::milliseconds wait = std::chrono::seconds(20));
    // SIGINT, as Ctrl+C at GDB's terminal: GDB interrupts the target.
    void Interrupt();
    // Waits for GDB to end; its exit code, or -1 when `wait` passed (GDB is then killed).
    int WaitForExit(std::chrono::milliseconds wait = std::chrono::seconds(20));
    const std::string& Output() const { return m_output; }

private:
    void ReadAvailable(int timeoutMs);

    pid_t m_pid = -1;
    int m_input = -1;
    int m_outputFd = -1;
    std::string m_output;
    std::size_t m_taken = 0;
};

// Skips a test on a developer's machine without gdb-multiarch, saying why;
// scripts/test-all installs it and sets TAVLIN_REQUIRE_GDB, so there a missing GDB fails the test.
// The tests built for Windows skip: they would fork and drive Linux's gdb-multiarch through pipes.
#ifdef _WIN32
#define REQUIRE_GDB() \
    GTEST_SKIP() << "the GDB extension's tests drive Linux's gdb-multiarch through fork and pipes, POSIX by nature"
#else
#define REQUIRE_GDB()                                                                            \
    if (FindGdb().empty()) {                                                                     \
        if (std::getenv("TAVLIN_REQUIRE_GDB")) FAIL() << "gdb-multiarch is not installed";       \
        GTEST_SKIP() << "gdb-multiarch is not installed";                                        \
    }
#endif
