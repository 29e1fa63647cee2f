// SPDX-License-Identifier: MIT
#pragma once
// How problems with a target write addresses and times.
#include <chrono>
#include <cstdint>
#include <string>

// "2 s", "1.5 s", "250 ms".
std::string RemoteDurationText(std::chrono::milliseconds duration);
// "1 byte", "4 bytes".
std::string RemoteBytesText(std::uint64_t count);
