// SPDX-License-Identifier: MIT
#include <iostream>

#include "app/CommandLine.h"
#include "app/RegisterApp.h"

CRegisterApp theApp;

int main(int argc, char** argv) {
    if (const auto code = RunCommandLine(argc, argv, std::cout, std::cerr)) return *code;
    return AfxWinMain(argc, argv);
}
