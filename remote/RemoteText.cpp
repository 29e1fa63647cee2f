// SPDX-License-Identifier: MIT
#include "remote/RemoteText.h"

#include <cstdio>

std::string RemoteDurationText(std::chrono::milliseconds duration) {
    const long long ms = duration.count();
    if (ms < 1000) return std::to_string(ms) + " ms";
    if (ms % 1000 == 0) return std::to_string(ms / 1000) + " s";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", static_cast<double>(ms) / 1000.0);
    return text;
}

std::string RemoteBytesText(std::uint64_t count) {
    return std::to_string(count) + (count == 1 ? " byte" : " bytes");
}
