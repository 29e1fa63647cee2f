// SPDX-License-Identifier: MIT
#pragma once
// The vendor-sized SVD file as the benchmarks of whole maps use it: loaded
// into a map, and a values file giving every one of its registers a value.
#include <benchmark/benchmark.h>

#include <string>

class CRegisterMap;

extern const std::string kVendorMapName;  // "svd-vendor.svd"

// Loads the file into `map`; false, with the benchmark skipped, when it cannot be read or loaded.
bool LoadVendorMap(benchmark::State& state, CRegisterMap& map);

// A values file giving every register of `map` a value other than its reset value.
std::string VendorValuesFor(const CRegisterMap& map);
