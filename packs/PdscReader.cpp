// SPDX-License-Identifier: MIT
#include "packs/PdscReader.h"

#include <algorithm>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "packs/PackVersion.h"

namespace {

// What one level (family, subFamily, device, variant) says of the processors:
// its <processor> and <debug> elements, in the order written.
struct LevelFacts {
    std::vector<std::pair<std::string, std::string>> cores;  // Pname, Dcore
    std::vector<std::pair<std::string, std::string>> svds;   // Pname, svd
};

std::string Attribute(const pugi::xml_node& node, const char* name) { return node.attribute(name).as_string(); }

std::string WithSlashes(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::string VendorName(std::string dvendor) {
    const std::size_t colon = dvendor.rfind(':');
    if (colon != std::string::npos) dvendor.erase(colon);
    return dvendor;
}

LevelFacts FactsOf(const pugi::xml_node& level) {
    LevelFacts facts;
    for (const pugi::xml_node& processor : level.children("processor")) {
        facts.cores.emplace_back(Attribute(processor, "Pname"), Attribute(processor, "Dcore"));
    }
    for (const pugi::xml_node& debug : level.children("debug")) {
        const pugi::xml_attribute svd = debug.attribute("svd");
        if (svd && *svd.as_string()) facts.svds.emplace_back(Attribute(debug, "Pname"), WithSlashes(svd.as_string()));
    }
    return facts;
}

// The nearest level's fact for processor `pname`: one naming it, else one naming none.
std::string Nearest(const std::vector<LevelFacts>& chain, const std::string& pname,
                    std::vector<std::pair<std::string, std::string>> LevelFacts::*list) {
    for (auto level = chain.rbegin(); level != chain.rend(); ++level) {
        const auto& facts = (*level).*list;
        const std::string* general = nullptr;
        for (const auto& [name, value] : facts) {
            if (value.empty()) continue;
            if (!pname.empty() && name == pname) return value;
            if (name.empty() && !general) general = &value;
        }
        if (general) return *general;
    }
    return {};
}

struct Reader {
    PackDescription& description;
    std::string family, vendor, subFamily;
    std::vector<LevelFacts> chain;

    void Add(const std::string& name) {
        PackDevice device;
        device.name = name;
        device.vendor = vendor;
        device.family = family;
        device.subFamily = subFamily;
        std::vector<std::string> names;
        for (const LevelFacts& level : chain)
            for (const auto& [pname, core] : level.cores)
                if (!pname.empty() && std::find(names.begin(), names.end(), pname) == names.end()) names.push_back(pname);
        if (names.empty()) names.emplace_back();
        for (const std::string& pname : names)
            device.processors.push_back({pname, Nearest(chain, pname, &LevelFacts::cores),
                                         Nearest(chain, pname, &LevelFacts::svds)});
        description.devices.push_back(std::move(device));
    }

    void Device(const pugi::xml_node& node) {
        chain.push_back(FactsOf(node));
        Add(Attribute(node, "Dname"));
        for (const pugi::xml_node& variant : node.children("variant")) {
            chain.push_back(FactsOf(variant));
            Add(Attribute(variant, "Dvariant"));
            chain.pop_back();
        }
        chain.pop_back();
    }

    void Family(const pugi::xml_node& node) {
        family = Attribute(node, "Dfamily");
        vendor = VendorName(Attribute(node, "Dvendor"));
        chain.assign(1, FactsOf(node));
        for (const pugi::xml_node& child : node.children()) {
            if (std::string_view(child.name()) == "device") {
                subFamily.clear();
                Device(child);
            } else if (std::string_view(child.name()) == "subFamily") {
                subFamily = Attribute(child, "DsubFamily");
                chain.push_back(FactsOf(child));
                for (const pugi::xml_node& device : child.children("device")) Device(device);
                chain.pop_back();
            }
        }
    }
};

int LineOf(std::string_view text, std::ptrdiff_t offset) {
    const auto end = text.begin() + std::clamp<std::ptrdiff_t>(offset, 0, static_cast<std::ptrdiff_t>(text.size()));
    return 1 + static_cast<int>(std::count(text.begin(), end, '\n'));
}

}  // namespace

Result<PackDescription> ReadPdscText(std::string_view text) {
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_buffer(text.data(), text.size(), pugi::parse_default);
    if (!parsed) {
        Problem problem = MakeProblem(ProblemCode::kBadPackDescription,
                                      std::string("not well-formed XML: ") + parsed.description());
        problem.line = LineOf(text, parsed.offset);
        return Result<PackDescription>::Failure(std::move(problem));
    }
    const pugi::xml_node package = document.child("package");
    if (!package)
        return Result<PackDescription>::Failure(ProblemCode::kBadPackDescription, "no <package>: not a pack description");

    PackDescription description;
    description.vendor = package.child_value("vendor");
    description.name = package.child_value("name");
    std::vector<std::string> releases;
    for (const pugi::xml_node& release : package.child("releases").children("release"))
        releases.push_back(Attribute(release, "version"));
    description.version = NewestVersion(releases).Text();

    Reader reader{description, {}, {}, {}, {}};
    for (const pugi::xml_node& family : package.child("devices").children("family")) reader.Family(family);
    return Result<PackDescription>::Success(std::move(description));
}
