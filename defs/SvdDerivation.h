// SPDX-License-Identifier: MIT
#pragma once
// derivedFrom: an SVD element takes what it does not say itself from the
// element it names, which may derive in turn. An element's own children
// override what it inherits; its lists of registers and fields add to the
// inherited ones, an item of the same name replacing the inherited item.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <pugixml.hpp>

#include "defs/SvdElement.h"

enum class SvdKind { Peripheral, Cluster, Register, Field, Values };

// Where problems go, with the element they are found at.
class SvdProblemSink {
public:
    virtual void Problem(pugi::xml_node element, const SvdPath& path, std::string text) = 0;

protected:
    ~SvdProblemSink() = default;
};

// An element and the elements it derives from, nearest first.
class SvdChain {
public:
    explicit SvdChain(pugi::xml_node element) : m_own(element), m_ownChildren(element) {}

    pugi::xml_node Element() const { return m_own; }
    // The element's own child, not an inherited one (its name, say).
    pugi::xml_node Own(SvdChild child) const { return m_ownChildren[child]; }
    // The child of the nearest element of the chain that has one.
    pugi::xml_node Find(SvdChild child) const;

    // The items of the chain: for a peripheral the registers and clusters
    // of its <registers> blocks, for a cluster its registers and clusters,
    // for a register the fields of its <fields> blocks. The furthest base's
    // come first; an item of a nearer element replaces one of the same
    // name in place, other items are appended.
    void CollectItems(SvdKind kind, std::vector<pugi::xml_node>& out) const;

    void AddBase(pugi::xml_node base);
    bool Contains(pugi::xml_node element) const;
    size_t Length() const { return 1 + m_bases.size(); }
    pugi::xml_node At(size_t index) const { return index == 0 ? m_own : m_bases[index - 1].element; }

private:
    struct Base {
        pugi::xml_node element;
        SvdChildren children;
    };
    pugi::xml_node m_own;
    SvdChildren m_ownChildren;
    std::vector<Base> m_bases;
};

// Calls `visit` for each item of `element` in the file (see CollectItems).
// `firstBlock`, when the caller knows it, is the element's first <registers>
// or <fields> block, which saves looking for it.
template <typename Visit>
void ForEachSvdItem(pugi::xml_node element, SvdKind kind, Visit visit, pugi::xml_node firstBlock = {}) {
    const auto isItem = [kind](pugi::xml_node node) {
        const char* name = node.name();
        switch (kind) {
        case SvdKind::Peripheral:
        case SvdKind::Cluster: return SvdNameIs(name, "register") || SvdNameIs(name, "cluster");
        case SvdKind::Register: return SvdNameIs(name, "field");
        case SvdKind::Field: return SvdNameIs(name, "enumeratedValues");
        case SvdKind::Values: return SvdNameIs(name, "enumeratedValue");
        }
        return false;
    };
    const char* block = kind == SvdKind::Peripheral ? "registers" : kind == SvdKind::Register ? "fields" : nullptr;
    if (!block) {
        for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling())
            if (child.type() == pugi::node_element && isItem(child)) visit(child);
        return;
    }
    // Vendor files sometimes repeat the block; the items of every block count.
    for (pugi::xml_node list = firstBlock ? firstBlock : element.child(block); list; list = list.next_sibling(block))
        for (pugi::xml_node child = list.first_child(); child; child = child.next_sibling())
            if (child.type() == pugi::node_element && isItem(child)) visit(child);
}

// Finds what derivedFrom names.
class SvdDerivation {
public:
    SvdDerivation(pugi::xml_node device, SvdProblemSink& sink);

    // Follows derivedFrom from the chain's element, adding each base; false,
    // with a problem at the element, when a derivedFrom names nothing of the
    // element's kind or the bases come round to an element again.
    bool Resolve(SvdChain& chain, SvdKind kind, const SvdPath& path);

    // The enumeratedValues a field offers, its derivedFrom followed: of the
    // blocks the field has (or else inherits), the first usable for writing
    // (usage read-write, the default, or write), otherwise the first. Null
    // when it has none.
    pugi::xml_node ValuesOf(const SvdChain& field, const SvdPath& path);

private:
    // The element `element` derives from, null when it derives from none;
    // false, with a problem, when its derivedFrom names nothing.
    bool BaseOf(pugi::xml_node element, SvdKind kind, pugi::xml_node origin, const SvdPath& path,
                pugi::xml_node& base);
    pugi::xml_node Find(pugi::xml_node element, SvdKind kind, std::string_view reference);
    pugi::xml_node FindInScopes(pugi::xml_node element, SvdKind kind, std::string_view name);
    pugi::xml_node FindPeripheral(std::string_view name) const;
    pugi::xml_node PeripheralValues(pugi::xml_node peripheral, std::string_view name);

    std::unordered_map<std::string_view, pugi::xml_node> m_peripherals;
    // For each peripheral whose named values were looked up: its
    // enumeratedValues blocks by name.
    std::unordered_map<const void*, std::unordered_map<std::string_view, pugi::xml_node>> m_values;
    SvdProblemSink& m_sink;
};
