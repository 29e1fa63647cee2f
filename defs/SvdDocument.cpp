// SPDX-License-Identifier: MIT
#include "defs/SvdDocument.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "bits/TextChars.h"
#include "defs/SvdElement.h"
#include "defs/SvdNumbers.h"

namespace {

// `value` without white space at either end, and whether that is one line
// already (as SvdIsOneLine tells), in one reading of the text: descriptions
// are the longest texts of a file and nearly every element has one.
std::string_view TrimDescription(const char* value, bool& oneLine) {
    const char* p = value;
    while (*p && IsAsciiSpace(*p)) ++p;
    const char* const begin = p;
    const char* end = p;  // after the last character that is no white space
    size_t run = 0;       // white space since then
    bool runBreaks = false;  // the run is more than one space
    oneLine = true;
    for (; *p; ++p) {
        const char c = *p;
        if (IsAsciiSpace(c)) {
            runBreaks = runBreaks || c != ' ' || ++run > 1;
            continue;
        }
        // White space between words makes two lines unless it is one space.
        if (runBreaks) oneLine = false;
        run = 0;
        runBreaks = false;
        end = p + 1;
    }
    return {begin, static_cast<size_t>(end - begin)};
}

// Whether `name`, of `length` characters, is `wanted`, of as many.
template <size_t N>
bool Is(const char* name, const char (&wanted)[N]) {
    return std::memcmp(name, wanted, N - 1) == 0;
}

}  // namespace

// Looked up by length and then by the first letter, so that at most one name
// is compared: this runs for every child of every element gathered.
SvdTag SvdTagOf(const char* name) {
    switch (std::strlen(name)) {
    case 3:
        if (Is(name, "dim")) return SvdTag::Dim;
        if (Is(name, "lsb")) return SvdTag::Lsb;
        if (Is(name, "msb")) return SvdTag::Msb;
        break;
    case 4:
        if (Is(name, "name")) return SvdTag::Name;
        if (Is(name, "size")) return SvdTag::Size;
        break;
    case 5:
        if (Is(name, "field")) return SvdTag::Field;
        if (Is(name, "value")) return SvdTag::Value;
        if (Is(name, "usage")) return SvdTag::Usage;
        break;
    case 6:
        if (Is(name, "fields")) return SvdTag::Fields;
        if (Is(name, "access")) return SvdTag::Access;
        if (Is(name, "device")) return SvdTag::Device;
        break;
    case 7:
        if (Is(name, "cluster")) return SvdTag::Cluster;
        break;
    case 8:
        if (name[0] == 'r') return Is(name, "register") ? SvdTag::Register : SvdTag::Other;
        if (Is(name, "bitRange")) return SvdTag::BitRange;
        if (Is(name, "bitWidth")) return SvdTag::BitWidth;
        if (Is(name, "dimIndex")) return SvdTag::DimIndex;
        break;
    case 9:
        if (Is(name, "registers")) return SvdTag::Registers;
        if (Is(name, "bitOffset")) return SvdTag::BitOffset;
        if (Is(name, "isDefault")) return SvdTag::IsDefault;
        break;
    case 10:
        if (Is(name, "peripheral")) return SvdTag::Peripheral;
        if (Is(name, "resetValue")) return SvdTag::ResetValue;
        if (Is(name, "readAction")) return SvdTag::ReadAction;
        break;
    case 11:
        if (Is(name, "description")) return SvdTag::Description;
        if (Is(name, "peripherals")) return SvdTag::Peripherals;
        if (Is(name, "baseAddress")) return SvdTag::BaseAddress;
        break;
    case 12:
        if (Is(name, "dimIncrement")) return SvdTag::DimIncrement;
        break;
    case 13:
        if (Is(name, "addressOffset")) return SvdTag::AddressOffset;
        break;
    case 15:
        if (Is(name, "enumeratedValue")) return SvdTag::EnumeratedValue;
        break;
    case 16:
        if (Is(name, "enumeratedValues")) return SvdTag::EnumeratedValues;
        break;
    case 19:
        if (Is(name, "modifiedWriteValues")) return SvdTag::ModifiedWriteValues;
        break;
    default:
        break;
    }
    return SvdTag::Other;
}

SvdDocument::SvdDocument(pugi::xml_node device) {
    Add(pugi::xml_node(), SvdTag::Other, 0);  // the null element: no text, no children
    Add(device, SvdTag::Device, 0);
    // The children of each element are appended together, so they stand next
    // to each other; then those of its first child that holds elements, and so
    // on, in file order, as pugixml laid its nodes and the text out. The
    // elements still to be gathered wait on a list rather than the call
    // stack, so no depth of nesting can exhaust it.
    std::vector<SvdIndex> pending{kDevice};
    while (!pending.empty()) {
        const SvdIndex at = pending.back();
        pending.pop_back();
        const SvdIndex first = m_size;
        for (pugi::xml_node child = At(at).node.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element) continue;
            const SvdTag tag = SvdTagOf(child.name());
            // Nothing looks for a device below the device.
            if (tag != SvdTag::Other && tag != SvdTag::Device) Add(child, tag, at);
        }
        At(at).body.children[0] = first;
        At(at).body.children[1] = m_size - first;
        for (SvdIndex child = m_size; child-- > first;)
            if (IsContainer(At(child))) pending.push_back(child);
    }
}

void SvdDocument::Add(pugi::xml_node node, SvdTag tag, SvdIndex parent) {
    // Indexes are 32 bits: a document of 2^32 elements would take far more
    // memory in pugixml's nodes than any machine tavlin runs on has.
    const SvdIndex index = m_size;
    if ((index & kBlockMask) == 0) m_blocks.push_back(std::make_unique_for_overwrite<Element[]>(size_t{1} << kBlockShift));
    ++m_size;
    Element& e = At(index);
    e.node = node;
    e.tag = tag;
    e.aside = false;
    e.oneLine = true;
    if (!IsContainer(e)) {
        if (!node) {
            e.body.text = "";
            e.extent = 0;
            return;
        }
        // pugixml keeps the text of an element that holds nothing else in the
        // element itself, where SvdText would find it too; other elements
        // (CDATA, comments, nothing) take the longer way.
        const char* value = node.value();
        std::string_view text;
        if (!*value) {
            text = SvdText(node);
            e.oneLine = SvdIsOneLine(text);
        } else if (tag == SvdTag::Description) {
            text = TrimDescription(value, e.oneLine);
        } else {
            text = TrimSvdText(value);
        }
        e.body.text = text.data();
        e.extent = static_cast<std::uint32_t>(std::min<size_t>(text.size(), std::numeric_limits<std::uint32_t>::max()));
        if (text.size() > std::numeric_limits<std::uint32_t>::max()) {
            e.aside = true;
            m_aside.emplace_back(index, text);
        }
        return;
    }
    e.body.children[0] = e.body.children[1] = 0;
    e.extent = parent;
    // Most elements have no attributes at all.
    if (!node.first_attribute()) return;
    const std::string_view derivedFrom = TrimSvdText(node.attribute("derivedFrom").value());
    if (derivedFrom.empty()) return;
    e.aside = true;
    m_aside.emplace_back(index, derivedFrom);
}

std::string_view SvdDocument::Aside(SvdIndex element) const {
    const auto it = std::lower_bound(m_aside.begin(), m_aside.end(), element,
                                     [](const auto& entry, SvdIndex index) { return entry.first < index; });
    return it != m_aside.end() && it->first == element ? it->second : std::string_view();
}

std::string_view SvdDocument::DerivedFrom(SvdIndex element) const {
    const Element& e = At(element);
    return IsContainer(e) && e.aside ? Aside(element) : std::string_view();
}

SvdIndex SvdDocument::NextSibling(SvdIndex element) const {
    const SvdTag tag = At(element).tag;
    const SvdIndex parent = Parent(element);
    if (!parent) return 0;
    for (SvdIndex next = element + 1, end = End(parent); next < end; ++next)
        if (At(next).tag == tag) return next;
    return 0;
}
