// SPDX-License-Identifier: MIT
#pragma once
// The main window's caption: "MAP — HOST:PORT — tavlin", the map's file name
// once one was opened by name, where the window is connected (and whether
// the target runs), the program's name last, where desktops look for it.
#include <string>

std::string WindowCaption(const std::string& title, const std::string& mapName, const std::string& where,
                          bool targetRunning);
