// SPDX-License-Identifier: MIT
#include "defs/SvdDerivation.h"

#include <algorithm>
#include <functional>
#include <utility>

#include "defs/SvdNumbers.h"

namespace {

// Bases beyond this many are taken for a cycle the file hides well.
constexpr size_t kMaxBases = 64;

SvdTag TagOf(SvdKind kind) {
    switch (kind) {
    case SvdKind::Peripheral: return SvdTag::Peripheral;
    case SvdKind::Cluster: return SvdTag::Cluster;
    case SvdKind::Register: return SvdTag::Register;
    case SvdKind::Field: return SvdTag::Field;
    case SvdKind::Values: return SvdTag::EnumeratedValues;
    }
    return SvdTag::Other;
}

// The kind whose items an element of tag `tag` holds.
bool ItemKindOf(SvdTag tag, SvdKind& kind) {
    switch (tag) {
    case SvdTag::Peripheral: kind = SvdKind::Peripheral; return true;
    case SvdTag::Cluster: kind = SvdKind::Cluster; return true;
    case SvdTag::Register: kind = SvdKind::Register; return true;
    case SvdTag::Field: kind = SvdKind::Field; return true;
    default: return false;
    }
}

// What tells an item apart from the others of its element: its name, and
// for a register its alternateGroup (registers of one name at one address
// are told apart by it).
struct ItemKey {
    std::string_view name;
    std::string_view group;

    bool operator==(const ItemKey&) const = default;
};

struct ItemKeyHash {
    size_t operator()(const ItemKey& key) const {
        const std::hash<std::string_view> hash;
        return hash(key.name) ^ (hash(key.group) * 0x9E3779B97F4A7C15u);
    }
};

}  // namespace

SvdIndex SvdChain::Find(SvdTag child) const {
    if (SvdIndex found = m_document->Child(m_own, child)) return found;
    for (const SvdIndex base : m_bases)
        if (SvdIndex found = m_document->Child(base, child)) return found;
    return 0;
}

void SvdChain::CollectItems(SvdKind kind, std::vector<SvdIndex>& out) const {
    out.clear();
    const SvdDocument& document = *m_document;
    if (m_bases.empty()) {
        ForEachSvdItem(document, m_own, kind, [&out](SvdIndex item) { out.push_back(item); });
        return;
    }
    // By key, the place in `out` of the item of that key, and the element of the chain it came from.
    std::unordered_map<ItemKey, std::pair<size_t, size_t>, ItemKeyHash> byKey;
    for (size_t i = Length(); i-- > 0;) {
        ForEachSvdItem(document, At(i), kind, [&](SvdIndex item) {
            const ItemKey key{document.ChildText(item, SvdTag::Name), document.ChildText(item, SvdTag::AlternateGroup)};
            const auto [it, added] = byKey.emplace(key, std::pair{out.size(), i});
            // Items of one element never replace each other: the expansion tells of their names.
            if (added || key.name.empty() || it->second.second == i) {
                out.push_back(item);
                return;
            }
            out[it->second.first] = item;
            it->second.second = i;
        });
    }
}

bool SvdChain::Contains(SvdIndex element) const {
    return element == m_own || std::find(m_bases.begin(), m_bases.end(), element) != m_bases.end();
}

SvdDerivation::SvdDerivation(const SvdDocument& document, SvdProblemSink& sink) : m_document(document), m_sink(sink) {
    for (const SvdIndex block : document.Children(SvdDocument::kDevice)) {
        if (document.Tag(block) != SvdTag::Peripherals) continue;
        for (const SvdIndex peripheral : document.Children(block))
            if (document.Tag(peripheral) == SvdTag::Peripheral)
                m_peripherals.emplace(document.ChildText(peripheral, SvdTag::Name), peripheral);
    }
}

SvdIndex SvdDerivation::ItemNamed(SvdIndex element, std::string_view name) const {
    SvdKind kind;
    if (!ItemKindOf(m_document.Tag(element), kind)) return 0;
    SvdIndex found = 0;
    ForEachSvdItem(m_document, element, kind, [&](SvdIndex item) {
        if (!found && m_document.ChildText(item, SvdTag::Name) == name) found = item;
    });
    return found;
}

// Follows the '.'-separated names of `path` down from `element`.
SvdIndex SvdDerivation::Descend(SvdIndex element, std::string_view path) const {
    while (element && !path.empty()) {
        const size_t dot = path.find('.');
        element = ItemNamed(element, TrimSvdText(path.substr(0, dot)));
        path = dot == std::string_view::npos ? std::string_view() : path.substr(dot + 1);
    }
    return element;
}

SvdIndex SvdDerivation::FindPeripheral(std::string_view name) const {
    const auto it = m_peripherals.find(name);
    return it == m_peripherals.end() ? 0 : it->second;
}

SvdIndex SvdDerivation::PeripheralValues(SvdIndex peripheral, std::string_view name) {
    auto [it, added] = m_values.try_emplace(peripheral);
    if (added) {
        auto& index = it->second;
        // Every enumeratedValues block below the peripheral, the first of each name.
        std::vector<SvdIndex> pending{peripheral};
        while (!pending.empty()) {
            const SvdIndex element = pending.back();
            pending.pop_back();
            SvdKind kind;
            if (!ItemKindOf(m_document.Tag(element), kind)) continue;
            ForEachSvdItem(m_document, element, kind, [&](SvdIndex item) {
                if (kind == SvdKind::Field)
                    index.emplace(m_document.ChildText(item, SvdTag::Name), item);
                else
                    pending.push_back(item);
            });
        }
    }
    const auto found = it->second.find(name);
    return found == it->second.end() ? 0 : found->second;
}

SvdIndex SvdDerivation::FindInScopes(SvdIndex element, SvdKind kind, std::string_view name) {
    const SvdDocument& document = m_document;
    if (kind == SvdKind::Values) {
        // The field's own blocks, then those of the register's other fields,
        // then any in the peripheral.
        const SvdIndex field = document.Parent(element);
        if (SvdIndex own = ItemNamed(field, name); own && own != element) return own;
        const SvdIndex reg = document.Parent(document.Parent(field));
        SvdIndex found = 0;
        ForEachSvdItem(document, reg, SvdKind::Register, [&](SvdIndex other) {
            if (!found && other != field) {
                const SvdIndex candidate = ItemNamed(other, name);
                if (candidate && candidate != element) found = candidate;
            }
        });
        if (found) return found;
        SvdIndex peripheral = element;
        while (peripheral && document.Tag(peripheral) != SvdTag::Peripheral) peripheral = document.Parent(peripheral);
        return peripheral ? PeripheralValues(peripheral, name) : 0;
    }
    // The element's siblings, then those of each enclosing cluster, up to the peripheral.
    for (SvdIndex scope = document.Parent(element); scope; scope = document.Parent(scope)) {
        SvdKind scopeKind;
        if (!ItemKindOf(document.Tag(scope), scopeKind)) continue;
        if (SvdIndex found = ItemNamed(scope, name); found && found != element) return found;
        if (scopeKind == SvdKind::Peripheral || kind == SvdKind::Field) break;
    }
    return 0;
}

SvdIndex SvdDerivation::Find(SvdIndex element, SvdKind kind, std::string_view reference) {
    SvdIndex found = 0;
    if (kind == SvdKind::Peripheral) {
        found = FindPeripheral(reference);
    } else if (reference.find('.') == std::string_view::npos) {
        found = FindInScopes(element, kind, reference);
    } else {
        // A path from each enclosing scope, innermost first: the clusters
        // around the element, its peripheral, then the device
        // ("PERIPHERAL.REGISTER..."). Vendor files name a register of the
        // same cluster instance this way ("ctl.sms.MASTER_SELECT").
        for (SvdIndex scope = m_document.Parent(element); scope; scope = m_document.Parent(scope)) {
            const bool peripheral = m_document.Tag(scope) == SvdTag::Peripheral;
            if (!peripheral && m_document.Tag(scope) != SvdTag::Cluster) continue;
            found = Descend(scope, reference);
            if (found && found != element && m_document.Tag(found) == TagOf(kind)) return found;
            if (peripheral) break;
        }
        const size_t dot = reference.find('.');
        found = Descend(FindPeripheral(TrimSvdText(reference.substr(0, dot))), reference.substr(dot + 1));
    }
    if (found && m_document.Tag(found) != TagOf(kind)) return 0;
    return found;
}

bool SvdDerivation::BaseOf(SvdIndex element, SvdKind kind, SvdIndex origin, const SvdPath& path, SvdIndex& base) {
    const std::string_view reference = m_document.DerivedFrom(element);
    base = 0;
    if (reference.empty()) return true;
    base = Find(element, kind, reference);
    if (base) return true;
    m_sink.Problem(origin, path, ProblemCode::kUnresolved, "derivedFrom names nothing: \"" + std::string(reference) + '"');
    return false;
}

bool SvdDerivation::Resolve(SvdChain& chain, SvdKind kind, const SvdPath& path) {
    for (SvdIndex current = chain.Element();;) {
        SvdIndex base;
        if (!BaseOf(current, kind, chain.Element(), path, base)) return false;
        if (!base) return true;
        if (chain.Contains(base) || chain.Length() > kMaxBases) {
            m_sink.Problem(chain.Element(), path, ProblemCode::kUnresolved,
                           "derivedFrom comes round in a cycle at \"" + std::string(m_document.DerivedFrom(current)) + '"');
            return false;
        }
        chain.AddBase(base);
        current = base;
    }
}

SvdIndex SvdDerivation::FirstValuesBlock(const SvdChain& field) const {
    SvdIndex first = 0;
    for (size_t i = 0; i < field.Length() && !first; ++i) first = m_document.Child(field.At(i), SvdTag::EnumeratedValues);
    return first;
}

SvdIndex SvdDerivation::ValuesOf(const SvdChain& field, const SvdPath& path) {
    const SvdIndex first = FirstValuesBlock(field);
    SvdIndex chosen = first;
    if (first && m_document.NextSibling(first)) {
        for (SvdIndex block = first; block; block = m_document.NextSibling(block)) {
            const std::string_view usage = m_document.ChildText(block, SvdTag::Usage);
            if (usage.empty() || usage == "read-write" || usage == "write") {
                chosen = block;
                break;
            }
        }
    }
    return NamingBlock(chosen, path);
}

SvdIndex SvdDerivation::ReadValuesOf(const SvdChain& field, const SvdPath& path) {
    const SvdIndex first = FirstValuesBlock(field);
    if (!first || !m_document.NextSibling(first)) return 0;
    // A read block counts only beside a block for writing, which ValuesOf takes.
    SvdIndex read = 0;
    bool forWriting = false;
    for (SvdIndex block = first; block; block = m_document.NextSibling(block)) {
        const std::string_view usage = m_document.ChildText(block, SvdTag::Usage);
        if (usage == "read") {
            if (!read) read = block;
        } else if (usage.empty() || usage == "read-write" || usage == "write") {
            forWriting = true;
        }
    }
    return read && forWriting ? NamingBlock(read, path) : 0;
}

SvdIndex SvdDerivation::NamingBlock(SvdIndex block, const SvdPath& path) {
    // Followed through derivedFrom to the nearest block that names values.
    for (size_t steps = 0; block; ++steps) {
        if (m_document.Child(block, SvdTag::EnumeratedValue)) return block;
        if (steps > kMaxBases) {
            m_sink.Problem(block, path, ProblemCode::kUnresolved, "derivedFrom of enumeratedValues comes round in a cycle");
            return 0;
        }
        SvdIndex base;
        if (!BaseOf(block, SvdKind::Values, block, path, base)) return 0;
        block = base;
    }
    return 0;
}
