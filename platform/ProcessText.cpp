// SPDX-License-Identifier: MIT
#include "platform/ProcessText.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#endif

namespace {

std::vector<std::string> CopyOf(int argc, const char* const* argv) {
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i) arguments.emplace_back(argv[i] ? argv[i] : "");
    return arguments;
}

}  // namespace

#ifdef _WIN32

namespace {

std::string Utf8Of(const wchar_t* wide) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return {};
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), length, nullptr, nullptr);
    text.pop_back();  // the terminating NUL
    return text;
}

}  // namespace

std::vector<std::string> Utf8Arguments(int argc, const char* const* argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return CopyOf(argc, argv);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) arguments.push_back(Utf8Of(wide[i]));
    LocalFree(wide);
    // A caller that built its own argv (not the process's) keeps it.
    if (count != argc) return CopyOf(argc, argv);
    return arguments;
}

void WriteConsoleAsUtf8() { SetConsoleOutputCP(CP_UTF8); }

#else

std::vector<std::string> Utf8Arguments(int argc, const char* const* argv) { return CopyOf(argc, argv); }

void WriteConsoleAsUtf8() {}

#endif
