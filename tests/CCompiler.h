// SPDX-License-Identifier: MIT
#pragma once
// The C compile tests' runner: compiles a C program with the system's C
// compiler (cc) and runs it, each under a deadline, giving what it printed.
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/TempDir.h"

// Runs `command` through the shell under a deadline of `seconds`; its exit status.
inline int RunWithDeadline(const std::string& command, int seconds) {
    return std::system(("timeout " + std::to_string(seconds) + " " + command).c_str());
}

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The tests built for Windows run without one: the C compiler is Linux's cc.
#ifdef _WIN32
inline bool HasCCompiler() { return false; }
#else
inline bool HasCCompiler() { return RunWithDeadline("cc --version > /dev/null 2>&1", 20) == 0; }
#endif

struct CRun {
    bool compiled = false;
    std::string log;     // the compiler's messages
    int status = -1;     // the program's exit status
    std::string output;  // what it printed
};

// A C program that, after `declarations`, runs `statements` and then
// `checks`, lines of CHECK(member, want): it prints "every value" and exits 0
// when each member holds its value, and names each one that does not.
inline std::string CheckingProgram(const std::string& declarations, const std::string& statements,
                                   const std::string& checks) {
    return "#include <stdio.h>\n" + declarations +
           "static int failures;\n"
           "static void Check(const char* what, unsigned long long got, unsigned long long want) {\n"
           "    if (got == want) return;\n"
           "    printf(\"%s is 0x%llx, not 0x%llx\\n\", what, got, want);\n"
           "    ++failures;\n"
           "}\n"
           "#define CHECK(member, want) Check(#member, (unsigned long long)(member), want)\n"
           "int main(void) {\n" +
           statements + checks +
           "    if (!failures) printf(\"every value\\n\");\n"
           "    return failures != 0;\n"
           "}\n";
}

// Compiles `program` (with -I `includeDir` when not empty), warnings as
// errors, in `dir`, and runs it when it compiles.
inline CRun CompileAndRun(const TempDir& dir, const std::string& program, const std::string& includeDir = {}) {
    CRun run;
    const std::string source = dir.Write("init.c", program);
    const std::string binary = (dir.Path() / "init").string();
    const std::string log = (dir.Path() / "log.txt").string();
    const std::string include = includeDir.empty() ? std::string() : "-I'" + includeDir + "' ";
    run.compiled = RunWithDeadline("cc -std=c11 -Wall -Wextra -Werror " + include + "-o '" + binary + "' '" + source +
                                       "' > '" + log + "' 2>&1",
                                   60) == 0;
    run.log = ReadText(log);
    if (!run.compiled) return run;
    const std::string output = (dir.Path() / "output.txt").string();
    run.status = RunWithDeadline("'" + binary + "' > '" + output + "' 2>&1", 20);
    run.output = ReadText(output);
    return run;
}
