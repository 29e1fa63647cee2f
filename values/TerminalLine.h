// SPDX-License-Identifier: MIT
#pragma once
// The lines a debugger's terminal puts around a dump, which a values text
// passes over as it passes over blank and '#' lines, so that a whole session
// copied from a terminal reads without a problem:
//   GDB's prompt, with or without a command:  (gdb) x/16wx 0x40021000    (gdb)
//   OpenOCD's telnet prompt and a command:     > mdw 0x40021000 16        >
//   a command echoed alone:                    x/16wx 0x40021000   x 0x40021000   x &buf   x
//                                              mdw 0x40021000 16   (and mdh, mdb, mdd)
//                                              dump binary memory ram.bin 0x20000000 0x20000100
//                                              monitor mdw 0x40021000
// None of them is ever a values line. A values line begins with an address or
// a register's name followed by ':', '=' or '<' (a blank before them allowed),
// so a command word followed by one of these is no command: "x = 5" and
// "mdw = 1" give registers named x and mdw their values. A lone "x" echoes
// GDB's x only as "x", "x/..." or "x" and an address of "0x", '&', '$' or '*';
// "x 5" stays a problem. After OpenOCD's '>' any command word is taken,
// except one that reads as a hex number ("> dead 01" is a quoted values line).
#include <string_view>

// Whether `line`, without its leading and trailing blanks, is one of the lines above.
bool IsTerminalLine(std::string_view line);
