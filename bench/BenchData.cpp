#include "bench/BenchData.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

const std::vector<std::int64_t>& BenchFieldCounts() {
    static const std::vector<std::int64_t> counts{20000, 200000, 2000000};
    return counts;
}

std::string BenchDataPath(std::int64_t fields) {
    const char* dir = std::getenv("TAVLIN_BENCH_DATA");
    return std::string(dir ? dir : TAVLIN_BENCH_DATA_DIR) + "/definitions-" + std::to_string(fields) + ".xml";
}

std::string ReadBenchFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
