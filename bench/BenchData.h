// SPDX-License-Identifier: MIT
#pragma once
// The generated definitions and SVD files the benchmarks read.
#include <cstdint>
#include <string>
#include <vector>

// The field counts of the generated files, smallest first.
const std::vector<std::int64_t>& BenchFieldCounts();

// The path of the file of `fields` fields (TAVLIN_BENCH_DATA overrides the folder).
std::string BenchDataPath(std::int64_t fields);

// The generated SVD files by name, smallest first: "svd-20000.svd" (fields counted after
// expansion) to "svd-2000000.svd", then the vendor-sized "svd-vendor.svd".
const std::vector<std::string>& BenchSvdNames();

// The path of the SVD file `name` (TAVLIN_BENCH_DATA overrides the folder).
std::string BenchSvdPath(const std::string& name);

// The whole file, or an empty string when it cannot be read.
std::string ReadBenchFile(const std::string& path);
