// SPDX-License-Identifier: MIT
#include "defs/SvdDerivation.h"

#include <algorithm>
#include <cstring>

#include "defs/SvdNumbers.h"

namespace {

using Node = pugi::xml_node;

// Bases beyond this many are taken for a cycle the file hides well.
constexpr size_t kMaxBases = 64;

std::string_view NameOf(Node element) { return SvdText(element.child("name")); }

const char* TagOf(SvdKind kind) {
    switch (kind) {
    case SvdKind::Peripheral: return "peripheral";
    case SvdKind::Cluster: return "cluster";
    case SvdKind::Register: return "register";
    case SvdKind::Field: return "field";
    case SvdKind::Values: return "enumeratedValues";
    }
    return "";
}

// The kind whose items an element of tag `tag` holds.
bool ItemKindOf(Node element, SvdKind& kind) {
    const std::string_view tag = element.name();
    if (tag == "peripheral") kind = SvdKind::Peripheral;
    else if (tag == "cluster") kind = SvdKind::Cluster;
    else if (tag == "register") kind = SvdKind::Register;
    else if (tag == "field") kind = SvdKind::Field;
    else return false;
    return true;
}

// The item of `element` named `name`, or null.
Node ItemNamed(Node element, std::string_view name) {
    SvdKind kind;
    if (!ItemKindOf(element, kind)) return {};
    Node found;
    ForEachSvdItem(element, kind, [&](Node item) {
        if (!found && NameOf(item) == name) found = item;
    });
    return found;
}

// Follows the '.'-separated names of `path` down from `element`.
Node Descend(Node element, std::string_view path) {
    while (element && !path.empty()) {
        const size_t dot = path.find('.');
        element = ItemNamed(element, TrimSvdText(path.substr(0, dot)));
        path = dot == std::string_view::npos ? std::string_view() : path.substr(dot + 1);
    }
    return element;
}

Node EnclosingPeripheral(Node element) {
    while (element && std::strcmp(element.name(), "peripheral") != 0) element = element.parent();
    return element;
}

}  // namespace

Node SvdChain::Find(SvdChild child) const {
    if (Node node = m_ownChildren[child]) return node;
    for (const Base& base : m_bases)
        if (Node node = base.children[child]) return node;
    return {};
}

void SvdChain::CollectItems(SvdKind kind, std::vector<Node>& out) const {
    out.clear();
    if (m_bases.empty()) {
        const Node block = m_ownChildren[kind == SvdKind::Peripheral ? SvdChild::Registers : SvdChild::Fields];
        // Without a block of its own a peripheral or register has no items.
        if (kind != SvdKind::Cluster && !block) return;
        ForEachSvdItem(m_own, kind, [&out](Node item) { out.push_back(item); }, block);
        return;
    }
    std::unordered_map<std::string_view, size_t> byName;
    for (size_t i = Length(); i-- > 0;) {
        ForEachSvdItem(At(i), kind, [&](Node item) {
            const std::string_view name = NameOf(item);
            const auto [it, added] = byName.emplace(name, out.size());
            if (added || name.empty())
                out.push_back(item);
            else
                out[it->second] = item;
        });
    }
}

void SvdChain::AddBase(Node base) { m_bases.push_back({base, SvdChildren(base)}); }

bool SvdChain::Contains(Node element) const {
    if (element == m_own) return true;
    return std::any_of(m_bases.begin(), m_bases.end(), [element](const Base& b) { return b.element == element; });
}

SvdDerivation::SvdDerivation(Node device, SvdProblemSink& sink) : m_sink(sink) {
    for (Node block : device.children("peripherals"))
        for (Node peripheral : block.children("peripheral")) m_peripherals.emplace(NameOf(peripheral), peripheral);
}

Node SvdDerivation::FindPeripheral(std::string_view name) const {
    const auto it = m_peripherals.find(name);
    return it == m_peripherals.end() ? Node() : it->second;
}

Node SvdDerivation::PeripheralValues(Node peripheral, std::string_view name) {
    auto [it, added] = m_values.try_emplace(peripheral.internal_object());
    if (added) {
        auto& index = it->second;
        // Every enumeratedValues block below the peripheral, the first of each name.
        std::vector<Node> pending{peripheral};
        while (!pending.empty()) {
            const Node element = pending.back();
            pending.pop_back();
            SvdKind kind;
            if (!ItemKindOf(element, kind)) continue;
            ForEachSvdItem(element, kind, [&](Node item) {
                if (kind == SvdKind::Field)
                    index.emplace(NameOf(item), item);
                else
                    pending.push_back(item);
            });
        }
    }
    const auto found = it->second.find(name);
    return found == it->second.end() ? Node() : found->second;
}

Node SvdDerivation::FindInScopes(Node element, SvdKind kind, std::string_view name) {
    if (kind == SvdKind::Values) {
        // The field's own blocks, then those of the register's other fields,
        // then any in the peripheral.
        Node field = element.parent();
        if (Node own = ItemNamed(field, name); own && own != element) return own;
        Node reg = field.parent().parent();
        Node found;
        ForEachSvdItem(reg, SvdKind::Register, [&](Node other) {
            if (!found && other != field) {
                Node candidate = ItemNamed(other, name);
                if (candidate && candidate != element) found = candidate;
            }
        });
        if (found) return found;
        if (Node peripheral = EnclosingPeripheral(element)) return PeripheralValues(peripheral, name);
        return {};
    }
    // The element's siblings, then those of each enclosing cluster, up to the peripheral.
    for (Node scope = element.parent(); scope; scope = scope.parent()) {
        SvdKind scopeKind;
        if (!ItemKindOf(scope, scopeKind)) continue;
        if (Node found = ItemNamed(scope, name); found && found != element) return found;
        if (scopeKind == SvdKind::Peripheral || kind == SvdKind::Field) break;
    }
    return {};
}

Node SvdDerivation::Find(Node element, SvdKind kind, std::string_view reference) {
    Node found;
    if (kind == SvdKind::Peripheral) {
        found = FindPeripheral(reference);
    } else if (reference.find('.') == std::string_view::npos) {
        found = FindInScopes(element, kind, reference);
    } else {
        // A path from each enclosing scope, innermost first: the clusters
        // around the element, its peripheral, then the device
        // ("PERIPHERAL.REGISTER..."). Vendor files name a register of the
        // same cluster instance this way ("ctl.sms.MASTER_SELECT").
        for (Node scope = element.parent(); scope; scope = scope.parent()) {
            const bool peripheral = SvdNameIs(scope.name(), "peripheral");
            if (!peripheral && !SvdNameIs(scope.name(), "cluster")) continue;
            found = Descend(scope, reference);
            if (found && found != element && std::strcmp(found.name(), TagOf(kind)) == 0) return found;
            if (peripheral) break;
        }
        const size_t dot = reference.find('.');
        found = Descend(FindPeripheral(TrimSvdText(reference.substr(0, dot))), reference.substr(dot + 1));
    }
    if (found && std::strcmp(found.name(), TagOf(kind)) != 0) return {};
    return found;
}

bool SvdDerivation::BaseOf(Node element, SvdKind kind, Node origin, const SvdPath& path, Node& base) {
    const std::string_view reference = TrimSvdText(element.attribute("derivedFrom").value());
    base = Node();
    if (reference.empty()) return true;
    base = Find(element, kind, reference);
    if (base) return true;
    m_sink.Problem(origin, path, "derivedFrom names nothing: \"" + std::string(reference) + '"');
    return false;
}

bool SvdDerivation::Resolve(SvdChain& chain, SvdKind kind, const SvdPath& path) {
    for (Node current = chain.Element();;) {
        Node base;
        if (!BaseOf(current, kind, chain.Element(), path, base)) return false;
        if (!base) return true;
        if (chain.Contains(base) || chain.Length() > kMaxBases) {
            m_sink.Problem(chain.Element(), path,
                           "derivedFrom comes round in a cycle at \"" +
                               std::string(TrimSvdText(current.attribute("derivedFrom").value())) + '"');
            return false;
        }
        chain.AddBase(base);
        current = base;
    }
}

Node SvdDerivation::ValuesOf(const SvdChain& field, const SvdPath& path) {
    // The blocks of the nearest element of the field's chain that has any.
    Node first;
    for (size_t i = 0; i < field.Length() && !first; ++i)
        first = i == 0 ? field.Own(SvdChild::EnumeratedValues) : field.At(i).child("enumeratedValues");
    Node chosen = first;
    if (first.next_sibling("enumeratedValues")) {
        for (Node block = first; block; block = block.next_sibling("enumeratedValues")) {
            const std::string_view usage = SvdText(SvdChildren(block)[SvdChild::Usage]);
            if (usage.empty() || usage == "read-write" || usage == "write") {
                chosen = block;
                break;
            }
        }
    }
    // Followed through derivedFrom to the nearest block that names values.
    for (size_t steps = 0; chosen; ++steps) {
        if (chosen.child("enumeratedValue")) return chosen;
        if (steps > kMaxBases) {
            m_sink.Problem(chosen, path, "derivedFrom of enumeratedValues comes round in a cycle");
            return {};
        }
        Node base;
        if (!BaseOf(chosen, SvdKind::Values, chosen, path, base)) return {};
        chosen = base;
    }
    return {};
}
