// SPDX-License-Identifier: MIT
#include "packs/DeviceCatalog.h"

#include <algorithm>
#include <utility>

#include "packs/DeviceNameMatch.h"
#include "packs/PackSource.h"

namespace {

constexpr std::size_t kClosestNames = 5;
constexpr std::size_t kListedAtMost = 20;

std::string Lowered(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && ContainsIgnoringCase(a, b);
}

// "A, B, C" (and "and N more" past the first few).
std::string Listed(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size() && i < kListedAtMost; ++i) text += (i ? ", " : "") + names[i];
    if (names.size() > kListedAtMost) text += " and " + std::to_string(names.size() - kListedAtMost) + " more";
    return text;
}

std::string SvdPathOf(const DeviceChoice& choice) {
    if (choice.processor.svd.empty()) return {};
    // An archive's SVD is named as inside it: "X.pack/CMSIS/SVD/chip.svd".
    const std::string& folder = choice.pack.archive.empty() ? choice.pack.folder : choice.pack.archive;
    if (folder.empty() || folder.back() == '/' || folder.back() == '\\') return folder + choice.processor.svd;
    return folder + "/" + choice.processor.svd;
}

std::string MissingSvdDetail(const DeviceChoice& choice) {
    return choice.pack.pdsc + ": device " + choice.device.name + " names SVD file '" + choice.processor.svd +
           "', which the pack does not hold";
}

}  // namespace

std::string DeviceChoice::Caption() const {
    std::string caption = device.name;
    if (!processor.name.empty()) caption += ":" + processor.name;
    return caption + " \xE2\x80\x94 " + pack.PackName() + " " + packVersion;
}

DeviceCatalog::DeviceCatalog(PackIndexScan scan) : m_scan(std::move(scan)) {
    std::vector<std::pair<std::string, Entry>> keyed;
    m_versions.reserve(m_scan.packs.size());
    for (const IndexedPack& pack : m_scan.packs)
        m_versions.push_back(pack.description.version.empty() ? pack.found.version.Text() : pack.description.version);
    for (std::size_t p = 0; p < m_scan.packs.size(); ++p) {
        const auto& devices = m_scan.packs[p].description.devices;
        for (std::size_t d = 0; d < devices.size(); ++d)
            if (!devices[d].name.empty() && !devices[d].processors.empty())
                keyed.emplace_back(Lowered(devices[d].name), Entry{p, d});
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    m_entries.reserve(keyed.size());
    for (const auto& [key, entry] : keyed) m_entries.push_back(entry);
}

DeviceChoice DeviceCatalog::ChoiceOf(const Entry& entry, const PackProcessor& processor) const {
    const IndexedPack& pack = m_scan.packs[entry.pack];
    return {pack.description.devices[entry.device], processor, pack.found, m_versions[entry.pack]};
}

std::vector<DeviceChoice> DeviceCatalog::ChoicesOf(const Entry& entry) const {
    std::vector<DeviceChoice> choices;
    for (const PackProcessor& processor : m_scan.packs[entry.pack].description.devices[entry.device].processors)
        choices.push_back(ChoiceOf(entry, processor));
    return choices;
}

Result<DeviceChoice> DeviceCatalog::Find(std::string_view nameAndProcessor) const {
    using Found = Result<DeviceChoice>;
    const std::size_t colon = nameAndProcessor.find(':');
    const std::string_view name = nameAndProcessor.substr(0, colon);
    const bool processorGiven = colon != std::string_view::npos;
    const std::string_view processorName = processorGiven ? nameAndProcessor.substr(colon + 1) : std::string_view();

    std::vector<Entry> whole, prefix;
    for (const Entry& entry : m_entries) {
        const std::string& own = m_scan.packs[entry.pack].description.devices[entry.device].name;
        const NameMatch match = MatchDeviceName(own, name);
        if (match == NameMatch::kWhole) whole.push_back(entry);
        else if (match == NameMatch::kPrefix) prefix.push_back(entry);
    }
    std::vector<Entry>& candidates = whole.empty() ? prefix : whole;
    // One pack listing a name twice (a device and its variant of the same name) is one device.
    std::vector<Entry> distinct;
    for (const Entry& entry : candidates) {
        const std::string& own = m_scan.packs[entry.pack].description.devices[entry.device].name;
        const bool seen = std::any_of(distinct.begin(), distinct.end(), [&](const Entry& other) {
            return other.pack == entry.pack &&
                   SameIgnoringCase(m_scan.packs[other.pack].description.devices[other.device].name, own);
        });
        if (!seen) distinct.push_back(entry);
    }

    if (distinct.empty()) {
        std::vector<std::pair<std::size_t, std::string>> near;
        for (const Entry& entry : m_entries) {
            const std::string& own = m_scan.packs[entry.pack].description.devices[entry.device].name;
            near.emplace_back(NameDistance(own, name), own);
        }
        std::sort(near.begin(), near.end());
        near.erase(std::unique(near.begin(), near.end()), near.end());
        std::vector<std::string> closest;
        for (std::size_t i = 0; i < near.size() && closest.size() < kClosestNames; ++i) closest.push_back(near[i].second);
        std::string detail = "no installed pack describes " + std::string(name);
        if (!closest.empty()) detail += "; the closest names: " + Listed(closest);
        std::vector<std::string> folders;
        for (const SearchedRoot& root : m_scan.roots)
            folders.push_back(root.root.folder + (root.exists ? "" : " (not there)"));
        detail += folders.empty() ? "; no pack folders were searched" : "; the folders searched: " + Listed(folders);
        return Found::Failure(ProblemCode::kNoSuchDevice, std::move(detail));
    }
    if (distinct.size() > 1) {
        std::vector<std::string> names;
        for (const Entry& entry : distinct) {
            const IndexedPack& pack = m_scan.packs[entry.pack];
            names.push_back(pack.description.devices[entry.device].name + " (" + pack.found.PackName() + ")");
        }
        return Found::Failure(ProblemCode::kSeveralDevices,
                              std::string(name) + " names several devices: " + Listed(names));
    }

    std::vector<DeviceChoice> choices = ChoicesOf(distinct.front());
    const std::string& deviceName = choices.front().device.name;
    DeviceChoice* chosen = nullptr;
    if (processorGiven) {
        for (DeviceChoice& choice : choices)
            if (SameIgnoringCase(choice.processor.name, processorName)) chosen = &choice;
    } else if (choices.size() == 1) {
        chosen = &choices.front();
    }
    if (!chosen) {
        std::vector<std::string> names;
        for (const DeviceChoice& choice : choices)
            names.push_back(choice.processor.name.empty() ? deviceName : deviceName + ":" + choice.processor.name);
        if (processorGiven)
            return Found::Failure(ProblemCode::kNoSuchProcessor, deviceName + " has no processor " +
                                                                     std::string(processorName) + ": " + Listed(names));
        return Found::Failure(ProblemCode::kSeveralProcessors,
                              deviceName + " has several processors; name one: " + Listed(names));
    }
    if (!chosen->processor.svd.empty()) {
        const Result<std::unique_ptr<PackFiles>> files = OpenPackFiles(chosen->pack);
        if (files && !files.Value()->Exists(chosen->processor.svd))
            return Found::Failure(ProblemCode::kSvdMissing, MissingSvdDetail(*chosen));
    }
    return Found::Success(std::move(*chosen));
}

std::vector<DeviceChoice> DeviceCatalog::Matching(std::string_view text) const {
    std::vector<DeviceChoice> matching;
    if (text.empty()) matching.reserve(m_entries.size());
    for (const Entry& entry : m_entries) {
        const PackDevice& device = m_scan.packs[entry.pack].description.devices[entry.device];
        const bool deviceMatches = ContainsIgnoringCase(device.name, text) || ContainsIgnoringCase(device.vendor, text) ||
                                   ContainsIgnoringCase(device.family, text);
        for (const PackProcessor& processor : device.processors)
            if (deviceMatches || ContainsIgnoringCase(processor.core, text)) matching.push_back(ChoiceOf(entry, processor));
    }
    return matching;
}

std::string DeviceListLine(const DeviceChoice& choice) {
    return choice.device.name + "\t" + choice.processor.name + "\t" + choice.device.vendor + "\t" +
           choice.pack.PackName() + "\t" + choice.packVersion + "\t" + SvdPathOf(choice);
}

Result<std::string> ReadDeviceSvd(const DeviceChoice& choice, std::uint64_t limit) {
    if (choice.processor.svd.empty())
        return Result<std::string>::Failure(ProblemCode::kNoSvdNamed, choice.pack.pdsc + ": device " +
                                                                          choice.device.name + " names no SVD file");
    Result<std::unique_ptr<PackFiles>> files = OpenPackFiles(choice.pack);
    if (!files) return Result<std::string>::FailureOf(files);
    Result<std::string> text = files.Value()->Read(choice.processor.svd, limit);
    if (!text && text.Error().code == ProblemCode::kCannotRead && !files.Value()->Exists(choice.processor.svd))
        return Result<std::string>::Failure(ProblemCode::kSvdMissing, MissingSvdDetail(choice));
    return text;
}
