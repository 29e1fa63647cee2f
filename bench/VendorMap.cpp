// SPDX-License-Identifier: MIT
#include "bench/VendorMap.h"

#include <cstdint>

#include "bench/BenchData.h"
#include "bits/NumberFormatting.h"
#include "calc/ValuesInput.h"
#include "defs/RegisterMap.h"
#include "defs/SvdLoader.h"
#include "values/ValuesFileWriter.h"

const std::string kVendorMapName = "svd-vendor.svd";

namespace {

const std::string& MapText() {
    static const std::string text = ReadBenchFile(BenchSvdPath(kVendorMapName));
    return text;
}

}  // namespace

bool LoadVendorMap(benchmark::State& state, CRegisterMap& map) {
    if (MapText().empty()) {
        state.SkipWithError(("cannot read " + BenchSvdPath(kVendorMapName) + " (build the bench_data target)").c_str());
        return false;
    }
    const LoadReport report = LoadSvdText(map, MapText(), kVendorMapName);
    if (!report.opened || map.Registers().empty()) {
        state.SkipWithError("the map did not load");
        return false;
    }
    return true;
}

std::string VendorValuesFor(const CRegisterMap& map) {
    ValuesFileWriter writer(kVendorMapName);
    std::uint32_t seed = 7;
    for (const CRegisterItem* reg : map.Registers()) {
        seed = seed * 1103515245u + 12345u;
        const std::uint64_t value = reg->m_nBits < 32 ? seed & ((1u << reg->m_nBits) - 1) : seed;
        writer.Add(RegisterPath(*reg), FormatRegisterHex(value, reg->m_nBits));
    }
    return writer.Text();
}
