// SPDX-License-Identifier: MIT
#pragma once
// The elements of a parsed SVD device that the loader reads, gathered from
// pugixml's document in one pass into one array. pugixml's nodes are linked
// lists scattered over its memory, read through calls into the library; the
// expansion looks at each element's children many times over (a name here,
// a number there, the items of a derived element again for each instance),
// so it reads this copy instead: the elements in file order, each with its
// text already trimmed, and each element holding others with the end of what
// is below it, so that its children are found by stepping over their own.
//
// Only elements of the names below are gathered, and only the children of
// those that hold other elements (peripheral, register, ...): elements of
// other names (cpu, addressBlock, interrupt, writeConstraint, ...) are never
// read by the loader and are left out with everything below them.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include <pugixml.hpp>

enum class SvdTag : std::uint8_t {
    Other,  // the null element, which stands for "none"
    // Elements read for their text.
    Name,
    Description,
    Dim,
    DimIncrement,
    DimIndex,
    AddressOffset,
    BaseAddress,
    Size,
    Access,
    ResetValue,
    BitOffset,
    BitWidth,
    Lsb,
    Msb,
    BitRange,
    ReadAction,
    ModifiedWriteValues,
    Usage,      // of an enumeratedValues block
    Value,      // of an enumeratedValue
    IsDefault,  // of an enumeratedValue
    AlternateGroup,  // of a register that shares its address with others of its name
    // Elements read for their children (and their derivedFrom).
    Device,
    Peripherals,
    Peripheral,
    Registers,
    Cluster,
    Register,
    Fields,
    Field,
    EnumeratedValues,
    EnumeratedValue,
};

// The tag of an element name; SvdTag::Other for any name the loader does not read.
SvdTag SvdTagOf(const char* name);

// An element of the document by its place in the array; 0 is the null element.
using SvdIndex = std::uint32_t;

class SvdDocument {
public:
    // Gathers `device` (element 1, whatever its name) and what is below it.
    explicit SvdDocument(pugi::xml_node device);
    SvdDocument(const SvdDocument&) = delete;
    SvdDocument& operator=(const SvdDocument&) = delete;

    static constexpr SvdIndex kDevice = 1;

    SvdTag Tag(SvdIndex element) const { return At(element).tag; }
    // The element in pugixml's document (null for the null element), for its place in the text.
    pugi::xml_node Node(SvdIndex element) const { return At(element).node; }
    // The text of an element read for its text, without white space at
    // either end; "" for other elements.
    std::string_view Text(SvdIndex element) const {
        const Element& e = At(element);
        if (IsContainer(e)) return {};
        return e.aside ? Aside(element) : std::string_view(e.body.text, e.extent);
    }
    // Whether the text of a description is one line already (SvdIsOneLine),
    // found while its text was read; true for the null element.
    bool IsOneLine(SvdIndex element) const { return At(element).oneLine; }
    // The derivedFrom attribute of an element read for its children, without
    // white space at either end; "" when it has none.
    std::string_view DerivedFrom(SvdIndex element) const;
    // The element that holds `element` (0 for the device and the null element).
    SvdIndex Parent(SvdIndex element) const {
        const Element& e = At(element);
        return IsContainer(e) ? e.extent : 0;
    }

    // The gathered children of `element`, in file order:
    //   for (SvdIndex child : document.Children(element)) ...
    class ChildRange;
    ChildRange Children(SvdIndex element) const;
    // The first child of `element` with tag `tag`, or 0.
    SvdIndex Child(SvdIndex element, SvdTag tag) const {
        const Element& e = At(element);
        if (!IsContainer(e)) return 0;
        for (SvdIndex child = element + 1, end = e.body.below[0]; child < end; child = After(child))
            if (At(child).tag == tag) return child;
        return 0;
    }
    // The next child of `element`'s parent after `element` with `element`'s tag, or 0.
    SvdIndex NextSibling(SvdIndex element) const;
    // The text of the first child of tag `tag` ("" for none).
    std::string_view ChildText(SvdIndex element, SvdTag tag) const { return Text(Child(element, tag)); }

    // Elements gathered, the null element included.
    size_t Size() const { return m_size; }

private:
    // 24 bytes: a large file has hundreds of thousands of elements.
    struct Element {
        pugi::xml_node node;
        union Body {
            const char* text;   // an element read for its text
            SvdIndex below[2];  // an element read for its children: the end of what is below it (and room)
        } body;
        std::uint32_t extent;  // the text's length, or the parent of an element read for its children
        SvdTag tag;
        // The element's text is in m_aside: the derivedFrom of an element
        // read for its children, or a text too long for `extent`.
        bool aside;
        bool oneLine;  // of a description
    };
    static_assert(sizeof(Element) <= 24);

    static bool IsContainer(const Element& e) { return e.tag >= SvdTag::Device; }
    // The element after `element` and all that is below it: its next sibling, if it has one.
    SvdIndex After(SvdIndex element) const {
        const Element& e = At(element);
        return IsContainer(e) ? e.body.below[0] : element + 1;
    }
    class Gatherer;
    void Add(pugi::xml_node node, SvdTag tag, SvdIndex parent);
    std::string_view Aside(SvdIndex element) const;

    // The elements are kept in blocks of 2^kBlockShift (48 KiB), which the
    // heap hands out again from what it was given back, where one array
    // would be copied as it grows and, grown large, be mapped afresh for
    // every load.
    static constexpr unsigned kBlockShift = 11;
    static constexpr SvdIndex kBlockMask = (SvdIndex{1} << kBlockShift) - 1;
    Element& At(SvdIndex element) { return m_blocks[element >> kBlockShift][element & kBlockMask]; }
    const Element& At(SvdIndex element) const { return m_blocks[element >> kBlockShift][element & kBlockMask]; }

    std::vector<std::unique_ptr<Element[]>> m_blocks;
    SvdIndex m_size = 0;
    // Texts kept aside, by element, in the order of the elements: few
    // elements have them.
    std::vector<std::pair<SvdIndex, std::string_view>> m_aside;
};

// The children of one element, stepped through by skipping what is below each.
class SvdDocument::ChildRange {
public:
    class Iterator {
    public:
        SvdIndex operator*() const { return m_at; }
        Iterator& operator++() {
            m_at = m_document->After(m_at);
            return *this;
        }
        bool operator!=(const Iterator& other) const { return m_at < other.m_at; }

    private:
        friend class ChildRange;
        Iterator(const SvdDocument* document, SvdIndex at) : m_document(document), m_at(at) {}
        const SvdDocument* m_document;
        SvdIndex m_at;
    };
    Iterator begin() const { return {m_document, m_first}; }
    Iterator end() const { return {m_document, m_end}; }
    bool empty() const { return m_first >= m_end; }

private:
    friend class SvdDocument;
    ChildRange(const SvdDocument* document, SvdIndex first, SvdIndex end) : m_document(document), m_first(first), m_end(end) {}
    const SvdDocument* m_document;
    SvdIndex m_first;
    SvdIndex m_end;
};

inline SvdDocument::ChildRange SvdDocument::Children(SvdIndex element) const {
    const Element& e = At(element);
    return IsContainer(e) ? ChildRange(this, element + 1, e.body.below[0]) : ChildRange(this, 0, 0);
}
