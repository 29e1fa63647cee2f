// SPDX-License-Identifier: MIT
#pragma once
// How the main window is started: what the window's command line asked for.
#include <optional>
#include <string>
#include <utility>

#include "packs/DeviceCatalog.h"

struct CoreInfo;

struct WindowStart {
    // The file named on the command line, opened at start instead of
    // tavlin.xml when not empty.
    std::string file;
    // Started as the desktop entry starts it (--desktop): with no file, the
    // window opens empty, saying how to open a map, instead of reading
    // tavlin.xml; no About box; the window takes its remembered place.
    bool desktop = false;
    // The GDB server to connect to at start (--gdb HOST:PORT); empty for none.
    std::string gdbServer;
    // The core whose registers every map opened gains (--core NAME); null for none.
    const CoreInfo* core = nullptr;
    // The installed device named on the command line (--device NAME), whose
    // map is opened at start as a file would be; none when not named.
    std::optional<DeviceChoice> device;

    // A start on `file`, as named on the command line, and nothing else.
    static WindowStart OnFile(std::string file) {
        WindowStart start;
        start.file = std::move(file);
        return start;
    }

    // A start from a terminal with no file: tavlin.xml, the fixed size and place, the About box.
    bool IsPlain() const { return !NamesMap() && !desktop; }
    // Whether the command line named a map: a file or a device.
    bool NamesMap() const { return !file.empty() || device.has_value(); }
    // A start on a map (or device) with --gdb, as the GDB extension's `tavlin window`
    // starts it: the window opens on the map, in front, with no box first.
    bool IsBridged() const { return !gdbServer.empty() && NamesMap(); }
};
