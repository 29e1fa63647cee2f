// SPDX-License-Identifier: MIT
#pragma once
// derivedFrom: an SVD element takes what it does not say itself from the
// element it names, which may derive in turn. An element's own children
// override what it inherits; its lists of registers and fields add to the
// inherited ones, an item of the same name replacing the inherited item.
#include <string>

#include "problem/Problem.h"
#include <string_view>
#include <unordered_map>
#include <vector>

#include "defs/SvdDocument.h"
#include "defs/SvdElement.h"

enum class SvdKind { Peripheral, Cluster, Register, Field, Values };

// Where problems go, with the element they are found at.
class SvdProblemSink {
public:
    virtual void Problem(SvdIndex element, const SvdPath& path, ProblemCode code, std::string text) = 0;

protected:
    ~SvdProblemSink() = default;
};

// An element and the elements it derives from, nearest first.
class SvdChain {
public:
    SvdChain(const SvdDocument& document, SvdIndex element) : m_document(&document), m_own(element) {}

    SvdIndex Element() const { return m_own; }
    // The element's own child, not an inherited one (its name, say).
    SvdIndex Own(SvdTag child) const { return m_document->Child(m_own, child); }
    // The child of the nearest element of the chain that has one.
    SvdIndex Find(SvdTag child) const;

    // The items of the chain: for a peripheral the registers and clusters
    // of its <registers> blocks, for a cluster its registers and clusters,
    // for a register the fields of its <fields> blocks. The furthest base's
    // come first; an item of a nearer element replaces one of the same
    // name (and alternateGroup) in place, other items are appended.
    void CollectItems(SvdKind kind, std::vector<SvdIndex>& out) const;

    void AddBase(SvdIndex base) { m_bases.push_back(base); }
    bool Contains(SvdIndex element) const;
    size_t Length() const { return 1 + m_bases.size(); }
    SvdIndex At(size_t index) const { return index == 0 ? m_own : m_bases[index - 1]; }

private:
    const SvdDocument* m_document;
    SvdIndex m_own;
    std::vector<SvdIndex> m_bases;  // most elements derive from none, and this stays empty
};

// Calls `visit` for each item of `element` in the file (see CollectItems).
template <typename Visit>
void ForEachSvdItem(const SvdDocument& document, SvdIndex element, SvdKind kind, Visit visit) {
    SvdTag item = SvdTag::EnumeratedValue;
    SvdTag other = SvdTag::Other;  // a second tag of items, for registers and clusters
    SvdTag block = SvdTag::Other;  // the blocks holding the items, when they are in blocks
    switch (kind) {
    case SvdKind::Peripheral: item = SvdTag::Register, other = SvdTag::Cluster, block = SvdTag::Registers; break;
    case SvdKind::Cluster: item = SvdTag::Register, other = SvdTag::Cluster; break;
    case SvdKind::Register: item = SvdTag::Field, block = SvdTag::Fields; break;
    case SvdKind::Field: item = SvdTag::EnumeratedValues; break;
    case SvdKind::Values: item = SvdTag::EnumeratedValue; break;
    }
    const auto visitItems = [&](SvdIndex holder) {
        for (const SvdIndex child : document.Children(holder)) {
            const SvdTag tag = document.Tag(child);
            if (tag == item || tag == other) visit(child);
        }
    };
    if (block == SvdTag::Other) {
        visitItems(element);
        return;
    }
    // Vendor files sometimes repeat the block; the items of every block count.
    for (const SvdIndex list : document.Children(element))
        if (document.Tag(list) == block) visitItems(list);
}

// Finds what derivedFrom names.
class SvdDerivation {
public:
    SvdDerivation(const SvdDocument& document, SvdProblemSink& sink);

    // Follows derivedFrom from the chain's element, adding each base; false,
    // with a problem at the element, when a derivedFrom names nothing of the
    // element's kind or the bases come round to an element again.
    bool Resolve(SvdChain& chain, SvdKind kind, const SvdPath& path);

    // The enumeratedValues a field offers, its derivedFrom followed: of the
    // blocks the field has (or else inherits), the first usable for writing
    // (usage read-write, the default, or write), otherwise the first. Null
    // when it has none.
    SvdIndex ValuesOf(const SvdChain& field, const SvdPath& path);
    // The enumeratedValues that name what a read of the field gives: a block
    // of usage read beside the block ValuesOf chooses, its derivedFrom
    // followed. Null when the field names its values once.
    SvdIndex ReadValuesOf(const SvdChain& field, const SvdPath& path);

private:
    // The first enumeratedValues block of the nearest element of the field's chain that has any.
    SvdIndex FirstValuesBlock(const SvdChain& field) const;
    // The block `block` names its values in, its derivedFrom followed; null when none does.
    SvdIndex NamingBlock(SvdIndex block, const SvdPath& path);

    // The element `element` derives from, null when it derives from none;
    // false, with a problem, when its derivedFrom names nothing.
    bool BaseOf(SvdIndex element, SvdKind kind, SvdIndex origin, const SvdPath& path, SvdIndex& base);
    SvdIndex Find(SvdIndex element, SvdKind kind, std::string_view reference);
    SvdIndex FindInScopes(SvdIndex element, SvdKind kind, std::string_view name);
    SvdIndex FindPeripheral(std::string_view name) const;
    SvdIndex PeripheralValues(SvdIndex peripheral, std::string_view name);
    SvdIndex ItemNamed(SvdIndex element, std::string_view name) const;
    SvdIndex Descend(SvdIndex element, std::string_view path) const;

    const SvdDocument& m_document;
    std::unordered_map<std::string_view, SvdIndex> m_peripherals;
    // For each peripheral whose named values were looked up: its
    // enumeratedValues blocks by name.
    std::unordered_map<SvdIndex, std::unordered_map<std::string_view, SvdIndex>> m_values;
    SvdProblemSink& m_sink;
};
