// SPDX-License-Identifier: MIT
#include <iostream>

#include "app/CommandLine.h"
#include "app/RegisterApp.h"
#include "platform/ProcessText.h"

CRegisterApp theApp;

int main(int argc, char** argv) {
    WriteConsoleAsUtf8();
    if (const auto code = RunCommandLine(Utf8Arguments(argc, argv), std::cout, std::cerr)) return *code;
    return AfxWinMain(argc, argv);
}
