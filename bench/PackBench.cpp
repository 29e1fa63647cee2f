// SPDX-License-Identifier: MIT
// The installed packs at the size of a full MDK installation: a root of 500
// packs and 20 000 device names (families, subFamilies, devices and their
// variants, as silicon vendors' DFPs have them; the 20 big pdscs of 100 to
// 300 KB), 50 of the packs as .pack files. Generated here into a temporary
// folder at the start, each run alike.
//
// Goals, each printed beside its yardstick at the end:
//   BM_ListDevicesWarm      the roots scanned against an index that is up to date and every device listed: under 50 ms
//   BM_ScanCold             the same with no index, every pdsc read: under 3 s
//   BM_OpenSvdFromFolder    a device's SVD found and loaded from an unpacked pack: within 10 % of BM_OpenSvdByPath
//   BM_OpenSvdFromPackFile  the same SVD from a .pack file: within 50 % of BM_OpenSvdByPath
// BM_OpenSvdByPath loads the same SVD file opened by its path, as `tavlin FILE.svd` does.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "bench/BenchData.h"
#include "bench/WallTimeReporter.h"
#include "defs/RegisterFile.h"
#include "defs/RegisterMap.h"
#include "packs/DeviceCatalog.h"
#include "packs/DeviceMap.h"
#include "packs/PackIndex.h"
#include "platform/FilePaths.h"
#include "tests/ZipWriter.h"

namespace fs = std::filesystem;

namespace {

constexpr int kPacks = 500;
constexpr int kBigPacks = 20;      // 4 subFamilies x 25 devices x (1 + 3 variants) = 400 names each
constexpr int kArchives = 50;      // the last packs, as .pack files
constexpr int kSmallNames = 25;    // 5 devices x (1 + 4 variants)
const std::string kSvdName = "svd-vendor.svd";

// What a DFP writes of each device besides its name: memories, a flash
// algorithm, features and a description, about 1.5 KB.
std::string DeviceBody(const std::string& name, int n) {
    std::string body = "      <description>The " + name +
                       " is a high-performance microcontroller with a rich set of peripherals: timers, "
                       "communication interfaces, analog converters, and a flexible clock tree for low power.</description>\n";
    body += "      <memory id=\"IROM1\" start=\"0x08000000\" size=\"0x" + std::to_string(100000 + n) +
            "\" startup=\"1\" default=\"1\"/>\n      <memory id=\"IRAM1\" start=\"0x20000000\" size=\"0x20000\" init=\"0\" default=\"1\"/>\n";
    body += "      <algorithm name=\"CMSIS/Flash/" + name + ".FLM\" start=\"0x08000000\" size=\"0x00100000\" default=\"1\"/>\n";
    static const char* const kFeatures[] = {"Timer", "USART", "SPI", "I2C", "ADC", "DAC", "USBOTG", "CAN"};
    for (const char* feature : kFeatures)
        body += std::string("      <feature type=\"") + feature + "\" n=\"" + std::to_string(n % 7 + 1) +
                "\" name=\"" + feature + " interfaces of the part\"/>\n";
    return body;
}

std::string PdscOf(int pack, bool big) {
    const std::string name = "Pack" + std::to_string(pack) + "_DFP";
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<package schemaVersion=\"1.7\">\n  <vendor>Vendor" +
                       std::to_string(pack % 40) + "</vendor>\n  <name>" + name +
                       "</name>\n  <releases>\n    <release version=\"2.1.0\">Fixes.</release>\n    <release version=\"2.0.0\">First.</release>\n  </releases>\n  <devices>\n";
    text += "  <family Dfamily=\"F" + std::to_string(pack) + " Series\" Dvendor=\"Vendor" + std::to_string(pack % 40) +
            ":1\">\n    <processor Dcore=\"Cortex-M4\" DcoreVersion=\"r0p1\" Dfpu=\"SP_FPU\" Dmpu=\"MPU\" Dendian=\"Little-endian\"/>\n"
            "    <debug svd=\"CMSIS\\SVD\\chip.svd\"/>\n";
    const int subFamilies = big ? 4 : 1, devices = big ? 25 : 5, variants = big ? 3 : 4;
    int n = 0;
    for (int s = 0; s < subFamilies; ++s) {
        text += "    <subFamily DsubFamily=\"S" + std::to_string(s) + "\">\n";
        for (int d = 0; d < devices; ++d) {
            const std::string device = "P" + std::to_string(pack) + "S" + std::to_string(s) + "D" + std::to_string(d) + "xx";
            text += "    <device Dname=\"" + device + "\">\n" + DeviceBody(device, n++);
            for (int v = 0; v < variants; ++v)
                text += "      <variant Dvariant=\"" + device.substr(0, device.size() - 2) + "V" + std::to_string(v) +
                        "\"><compile header=\"Include/chip.h\" define=\"CHIP_" + std::to_string(v) + "\"/></variant>\n";
            text += "    </device>\n";
        }
        text += "    </subFamily>\n";
    }
    return text + "  </family>\n  </devices>\n</package>\n";
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The generated root, made once, removed at exit.
struct Root {
    fs::path top;
    std::string root, cache, svdPath;
    std::string folderDevice, archiveDevice;  // a device of an unpacked pack, of a .pack
    std::size_t pdscBytes = 0, bigPdscBytes = 0;
    bool made = false;

    Root() {
        const std::string svd = ReadBenchFile(BenchSvdPath(kSvdName));
        if (svd.empty()) return;
        top = fs::temp_directory_path() / ("tavlin-pack-bench-" + std::to_string(::getpid()));
        root = Utf8FromPath(top / "packs");
        cache = Utf8FromPath(top / "cache");
        svdPath = BenchSvdPath(kSvdName);
        for (int p = 0; p < kPacks; ++p) {
            const bool big = p < kBigPacks;
            const std::string vendor = "Vendor" + std::to_string(p % 40), name = "Pack" + std::to_string(p) + "_DFP";
            const std::string pdsc = PdscOf(p, big);
            pdscBytes += pdsc.size();
            if (big) bigPdscBytes = std::max(bigPdscBytes, pdsc.size());
            // Every pack holds the SVD: the big ones the vendor-sized one, the others a stand-in.
            const std::string& ownSvd = big || p >= kPacks - kArchives ? svd : pdsc;
            if (p >= kPacks - kArchives) {
                ZipWriter zip;
                zip.Add(vendor + "." + name + ".pdsc", pdsc).Add("CMSIS/SVD/chip.svd", ownSvd);
                const fs::path file = (p % 2 ? top / "packs" / ".Download" : top / "packs") / (vendor + "." + name + ".2.1.0.pack");
                WriteFile(file, zip.Finish());
            } else {
                const fs::path folder = top / "packs" / vendor / name / "2.1.0";
                WriteFile(folder / (vendor + "." + name + ".pdsc"), pdsc);
                WriteFile(folder / "CMSIS" / "SVD" / "chip.svd", ownSvd);
            }
        }
        folderDevice = "P0S0D0xx";
        archiveDevice = "P" + std::to_string(kPacks - 1) + "S0D0xx";
        made = true;
    }
    ~Root() {
        std::error_code error;
        if (!top.empty()) fs::remove_all(top, error);
    }
};

const Root& TheRoot() {
    static const Root root;
    return root;
}

bool Ready(benchmark::State& state) {
    if (TheRoot().made) return true;
    state.SkipWithError(("cannot read " + BenchSvdPath(kSvdName) + " (build the bench_data target)").c_str());
    return false;
}

std::vector<PackRoot> Roots() { return {{TheRoot().root, "user"}}; }

std::size_t ListAll(benchmark::State& state, bool cold) {
    const PackIndex index(TheRoot().cache);
    if (cold) std::filesystem::remove(PathFromUtf8(index.FilePath()));
    auto scan = index.Scan(Roots());
    if (!scan) {
        state.SkipWithError(scan.Text().c_str());
        return 0;
    }
    const DeviceCatalog catalog(std::move(scan.Value()));
    const std::vector<DeviceChoice> all = catalog.Matching("");
    benchmark::DoNotOptimize(all.data());
    return all.size();
}

void BM_ScanCold(benchmark::State& state) {
    if (!Ready(state)) return;
    std::size_t devices = 0;
    for (auto _ : state) devices = ListAll(state, true);
    state.counters["devices"] = static_cast<double>(devices);
    state.counters["pdsc_MB"] = static_cast<double>(TheRoot().pdscBytes) / 1e6;
    state.counters["big_pdsc_KB"] = static_cast<double>(TheRoot().bigPdscBytes) / 1e3;
}

void BM_ListDevicesWarm(benchmark::State& state) {
    if (!Ready(state)) return;
    ListAll(state, false);  // the index, written once
    std::size_t devices = 0;
    for (auto _ : state) devices = ListAll(state, false);
    if (devices != static_cast<std::size_t>(kBigPacks * 400 + (kPacks - kBigPacks) * kSmallNames))
        state.SkipWithError("not every device was listed");
    state.counters["devices"] = static_cast<double>(devices);
}

// The warm listing's parts: the scan against the index, the catalog made of it, every device listed.
void BM_WarmScanOnly(benchmark::State& state) {
    if (!Ready(state)) return;
    ListAll(state, false);
    for (auto _ : state) {
        auto scan = PackIndex(TheRoot().cache).Scan(Roots());
        benchmark::DoNotOptimize(scan.Ok());
    }
}

void BM_CatalogOnly(benchmark::State& state) {
    if (!Ready(state)) return;
    auto scan = PackIndex(TheRoot().cache).Scan(Roots());
    if (!scan) return state.SkipWithError(scan.Text().c_str());
    for (auto _ : state) {
        const DeviceCatalog catalog(scan.Value());
        benchmark::DoNotOptimize(catalog.DeviceCount());
    }
}

void BM_MatchingOnly(benchmark::State& state) {
    if (!Ready(state)) return;
    auto scan = PackIndex(TheRoot().cache).Scan(Roots());
    if (!scan) return state.SkipWithError(scan.Text().c_str());
    const DeviceCatalog catalog(std::move(scan.Value()));
    for (auto _ : state) benchmark::DoNotOptimize(catalog.Matching("").size());
}

void BM_OpenSvdByPath(benchmark::State& state) {
    if (!Ready(state)) return;
    for (auto _ : state) {
        CRegisterMap map;
        const LoadReport report = LoadRegisterFile(map, TheRoot().svdPath.c_str(), nullptr);
        if (!report.opened) state.SkipWithError("the SVD did not load");
    }
}

// A device found by name in the catalog (listed once, outside the timing) and its SVD loaded.
void OpenDevice(benchmark::State& state, const std::string& device) {
    if (!Ready(state)) return;
    auto scan = PackIndex(TheRoot().cache).Scan(Roots());
    if (!scan) return state.SkipWithError(scan.Text().c_str());
    const DeviceCatalog catalog(std::move(scan.Value()));
    for (auto _ : state) {
        const auto choice = catalog.Find(device);
        if (!choice) return state.SkipWithError(choice.Text().c_str());
        CRegisterMap map;
        const LoadReport report = LoadDeviceMap(map, choice.Value());
        if (!report.opened) return state.SkipWithError("the device's SVD did not load");
    }
}

void BM_OpenSvdFromFolder(benchmark::State& state) { OpenDevice(state, TheRoot().folderDevice); }
void BM_OpenSvdFromPackFile(benchmark::State& state) { OpenDevice(state, TheRoot().archiveDevice); }

// The goals, each beside its yardstick.
void PrintGoals(const WallTimeReporter& times, std::ostream& out) {
    const auto time = [&](const char* what, const char* name, double goalMs) {
        const std::optional<double> ms = times.Ms(name);
        if (!ms) return;
        out << what << ": " << *ms << " ms (goal: under " << goalMs << " ms) " << (*ms < goalMs ? "met" : "MISSED") << "\n";
    };
    const auto ratio = [&](const char* what, const char* name, double goalPercent) {
        const std::optional<double> ms = times.Ms(name), yardstick = times.Ms("BM_OpenSvdByPath");
        if (!ms || !yardstick || *yardstick <= 0) return;
        const double more = (*ms / *yardstick - 1) * 100;
        out << what << ": " << *ms << " ms, by path " << *yardstick << " ms: " << (more >= 0 ? "+" : "") << more
            << " % (goal: within " << goalPercent << " %) " << (more <= goalPercent ? "met" : "MISSED") << "\n";
    };
    time("devices listed from a warm index", "BM_ListDevicesWarm", 50);
    time("a cold scan", "BM_ScanCold", 3000);
    ratio("a device's SVD from an unpacked pack", "BM_OpenSvdFromFolder", 10);
    ratio("a device's SVD from a .pack file", "BM_OpenSvdFromPackFile", 50);
}

}  // namespace

BENCHMARK(BM_ScanCold)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListDevicesWarm)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WarmScanOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CatalogOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MatchingOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenSvdByPath)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenSvdFromFolder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenSvdFromPackFile)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return RunWithGoals(argc, argv, [](const WallTimeReporter& times) { PrintGoals(times, std::cout); });
}
