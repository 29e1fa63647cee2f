#pragma once
// The children of one SVD element that tavlin reads, found in a single pass
// over the element, and the element's line in the file.
#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

enum class SvdChild {
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
    ResetMask,
    BitOffset,
    BitWidth,
    Lsb,
    Msb,
    BitRange,
    Usage,
    Value,
    IsDefault,
    Count
};

// The first child element of each kind; elements of other names are passed over.
struct SvdChildren {
    std::array<pugi::xml_node, static_cast<size_t>(SvdChild::Count)> nodes{};

    explicit SvdChildren(pugi::xml_node element);
    pugi::xml_node operator[](SvdChild child) const { return nodes[static_cast<size_t>(child)]; }
};

// The text of an element without white space at either end ("" for none).
std::string_view SvdText(pugi::xml_node element);

// Line numbers of byte offsets in the parsed text.
class SvdLines {
public:
    explicit SvdLines(std::string_view text);
    // The 1-based line of byte `offset`.
    int LineOf(std::ptrdiff_t offset) const;
    // The 1-based column of byte `offset` within its line.
    int ColumnOf(std::ptrdiff_t offset) const;

private:
    // Lines are counted only when a problem asks for one.
    void Index() const;

    std::string_view m_text;
    mutable std::vector<std::ptrdiff_t> m_lineStarts;
};
