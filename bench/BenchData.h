#pragma once
// The generated definitions files the benchmarks read, by field count.
#include <cstdint>
#include <string>
#include <vector>

// The field counts of the generated files, smallest first.
const std::vector<std::int64_t>& BenchFieldCounts();

// The path of the file of `fields` fields (TAVLIN_BENCH_DATA overrides the folder).
std::string BenchDataPath(std::int64_t fields);

// The whole file, or an empty string when it cannot be read.
std::string ReadBenchFile(const std::string& path);
