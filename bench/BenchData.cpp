// SPDX-License-Identifier: MIT
#include "bench/BenchData.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

const std::vector<std::int64_t>& BenchFieldCounts() {
    static const std::vector<std::int64_t> counts{20000, 200000, 2000000};
    return counts;
}

namespace {

std::string DataDir() {
    const char* dir = std::getenv("TAVLIN_BENCH_DATA");
    return dir ? dir : TAVLIN_BENCH_DATA_DIR;
}

}  // namespace

std::string BenchDataPath(std::int64_t fields) {
    return DataDir() + "/definitions-" + std::to_string(fields) + ".xml";
}

const std::vector<std::string>& BenchSvdNames() {
    static const std::vector<std::string> names{"svd-20000.svd", "svd-200000.svd", "svd-2000000.svd",
                                                "svd-vendor.svd"};
    return names;
}

std::string BenchSvdPath(const std::string& name) { return DataDir() + "/" + name; }

std::string ReadBenchFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
