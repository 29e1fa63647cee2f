// SPDX-License-Identifier: MIT
#include "bench/HeapFigures.h"

#include <malloc.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace {

// A "VmXXX:   1234 kB" line of /proc/self/status, in bytes.
std::int64_t StatusBytes(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const size_t keyLength = std::strlen(key);
    while (std::getline(status, line)) {
        if (line.compare(0, keyLength, key) == 0 && line.size() > keyLength && line[keyLength] == ':')
            return std::stoll(line.substr(keyLength + 1)) * 1024;
    }
    return 0;
}

}  // namespace

std::int64_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<std::int64_t>(info.uordblks + info.hblkhd);
}

bool ResetPeakRss() {
    // Writing 5 to clear_refs resets VmHWM to the current RSS.
    std::FILE* file = std::fopen("/proc/self/clear_refs", "w");
    if (!file) return false;
    const bool ok = std::fputs("5", file) >= 0;
    return std::fclose(file) == 0 && ok;
}

std::int64_t PeakRss() { return StatusBytes("VmHWM"); }

std::int64_t CurrentRss() { return StatusBytes("VmRSS"); }

std::int64_t MinorFaults() {
    struct rusage usage {};
    return getrusage(RUSAGE_SELF, &usage) == 0 ? static_cast<std::int64_t>(usage.ru_minflt) : 0;
}
