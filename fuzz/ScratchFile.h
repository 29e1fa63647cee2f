#pragma once
// One file per fuzzing process that each input is written into, since the
// reader and the loader take a path. Kept in memory-backed /dev/shm when it
// exists, so an execution costs no disk I/O; removed at exit.
#include <cstddef>
#include <cstdint>

// Replaces the file's contents with `size` bytes from `data` and returns its
// path. Aborts when the file cannot be written: a fuzz run must not go on
// testing something other than its input.
const char* WriteScratchFile(const std::uint8_t* data, std::size_t size);
