// SPDX-License-Identifier: MIT
#include "app/DeviceOption.h"

#include "packs/PackFileCatalog.h"
#include "ui/AppSettings.h"
#include "ui/InstalledPacks.h"

namespace {

DeviceCatalog Installed() {
    // Without a cancel, the scan cannot fail.
    Result<DeviceCatalog> catalog = InstalledDevices(CAppSettings());
    return catalog ? std::move(catalog.Value()) : DeviceCatalog();
}

// The device found, or the exit code after telling why there is none.
std::optional<int> Take(const Result<DeviceChoice>& found, std::optional<DeviceChoice>& device, std::ostream& err) {
    if (found) {
        device = found.Value();
        return std::nullopt;
    }
    err << "tavlin: " << found.Error().detail << '\n';
    return found.Failed(ProblemCode::kSeveralDevices) || found.Failed(ProblemCode::kSeveralProcessors) ? 2 : 1;
}

// "A, B:CM4, C" (and "and N more" past the first twelve).
std::string ChoiceNames(const std::vector<DeviceChoice>& choices) {
    constexpr std::size_t kListed = 12;
    std::string text;
    for (std::size_t i = 0; i < choices.size() && i < kListed; ++i) {
        const DeviceChoice& choice = choices[i];
        text += (i ? ", " : "") + choice.device.name + (choice.processor.name.empty() ? "" : ":" + choice.processor.name);
    }
    if (choices.size() > kListed) text += " and " + std::to_string(choices.size() - kListed) + " more";
    return text;
}

}  // namespace

std::optional<int> ResolveDevice(const std::string& name, std::optional<DeviceChoice>& device, std::ostream& err) {
    return Take(Installed().Find(name), device, err);
}

std::optional<int> ResolvePackDevice(const std::string& packFile, const std::string& name,
                                     std::optional<DeviceChoice>& device, std::ostream& err) {
    const Result<DeviceCatalog> catalog = CatalogOfPackFile(packFile);
    if (!catalog) {
        err << "tavlin: " << catalog.Text() << '\n';
        return 1;
    }
    if (!name.empty()) return Take(catalog.Value().Find(name), device, err);
    const std::vector<DeviceChoice> all = catalog.Value().Matching("");
    if (all.size() == 1) {
        const DeviceChoice& only = all.front();
        return Take(catalog.Value().Find(only.processor.name.empty() ? only.device.name
                                                                      : only.device.name + ":" + only.processor.name),
                    device, err);
    }
    if (all.empty()) {
        err << "tavlin: " << packFile << " describes no device\n";
        return 1;
    }
    err << "tavlin: " << packFile << " describes several devices; name one with --device: " << ChoiceNames(all) << '\n';
    return 2;
}

int ListDevices(const std::string& text, std::ostream& out) {
    for (const DeviceChoice& choice : Installed().Matching(text)) out << DeviceListLine(choice) << '\n';
    return 0;
}
