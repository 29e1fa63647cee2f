// SPDX-License-Identifier: MIT
#pragma once
// The devices of the installed packs, found by the names users type:
// "NAME[:PROCESSOR]", NAME a device's or variant's name ignoring case, where a
// lowercase 'x' in the pack's name stands for any one character
// ("STM32H743ZITx" answers "STM32H743ZIT6"; a capital 'X' is a letter), and a
// unique prefix is enough; a whole match beats prefixes.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "packs/PackIndex.h"
#include "problem/Result.h"

// One device with one of its processors, and the pack that describes it.
struct DeviceChoice {
    PackDevice device;
    PackProcessor processor;
    FoundPack pack;
    std::string packVersion;  // the pdsc's newest release, else the folder's version

    // "STM32H743ZITx — Keil.STM32H7xx_DFP 4.0.1" (with ":CM7" after the name for a named processor).
    std::string Caption() const;
};

class DeviceCatalog {
public:
    DeviceCatalog() = default;
    explicit DeviceCatalog(PackIndexScan scan);

    // The device NAME[:PROCESSOR] names. Fails with kSeveralDevices or
    // kSeveralProcessors (the detail lists them), kNoSuchDevice (the closest
    // names and the folders searched), kNoSuchProcessor, or kSvdMissing (the
    // pack names an SVD file it does not hold: the pdsc, the device, the path).
    Result<DeviceChoice> Find(std::string_view nameAndProcessor) const;

    // Every device and processor whose name, vendor, family or core holds
    // `text`, ignoring case (all of them for an empty text), in name order.
    std::vector<DeviceChoice> Matching(std::string_view text) const;

    std::size_t DeviceCount() const { return m_entries.size(); }
    const std::vector<SearchedRoot>& SearchedRoots() const { return m_scan.roots; }
    const std::vector<IndexedPack>& Packs() const { return m_scan.packs; }

private:
    struct Entry {
        std::size_t pack;
        std::size_t device;
    };
    std::vector<DeviceChoice> ChoicesOf(const Entry& entry) const;
    DeviceChoice ChoiceOf(const Entry& entry, const PackProcessor& processor) const;

    PackIndexScan m_scan;
    std::vector<Entry> m_entries;  // by name, ignoring case
    std::vector<std::string> m_versions;  // each pack's version as choices give it
};

// One line for --list-devices: name, processor, vendor, pack, version, SVD path, tab-separated.
std::string DeviceListLine(const DeviceChoice& choice);

// The device's SVD text, read through its pack's files (at most `limit`
// bytes): kNoSvdNamed when the pack names none, kSvdMissing when it lacks it.
Result<std::string> ReadDeviceSvd(const DeviceChoice& choice, std::uint64_t limit);
