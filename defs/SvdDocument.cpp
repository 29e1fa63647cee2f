// SPDX-License-Identifier: MIT
#include "defs/SvdDocument.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "defs/SvdElement.h"
#include "defs/SvdNumbers.h"

namespace {

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
    case 14:
        if (Is(name, "alternateGroup")) return SvdTag::AlternateGroup;
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

// Gathers in file order, as pugixml's own walk over its nodes meets them (no
// call into the library to find each next node): an element is kept when its
// name is known and the element holding it is kept and reads children.
class SvdDocument::Gatherer final : public pugi::xml_tree_walker {
public:
    explicit Gatherer(SvdDocument& document) : m_document(document) {}

    bool for_each(pugi::xml_node& node) override {
        const int at = depth();  // the device's children are at depth 0
        if (at > m_skipBelow) return true;
        m_skipBelow = kNoSkip;
        // The elements whose children have all been met end here.
        while (m_open.back().depth >= at) Close();
        if (node.type() != pugi::node_element) {
            m_skipBelow = at;
            return true;
        }
        const SvdTag tag = SvdTagOf(node.name());
        // Nothing looks for a device below the device.
        if (tag == SvdTag::Other || tag == SvdTag::Device) {
            m_skipBelow = at;
            return true;
        }
        const SvdIndex index = m_document.m_size;
        m_document.Add(node, tag, m_open.back().element);
        if (IsContainer(m_document.At(index)))
            m_open.push_back({index, at});
        else
            m_skipBelow = at;
        return true;
    }

    // After the walk: what is still open ends with the document.
    void Finish() {
        while (!m_open.empty()) Close();
    }

private:
    static constexpr int kNoSkip = std::numeric_limits<int>::max();
    struct Open {
        SvdIndex element;
        int depth;
    };
    void Close() {
        m_document.At(m_open.back().element).body.below[0] = m_document.m_size;
        m_open.pop_back();
    }

    SvdDocument& m_document;
    // The kept elements that read children, from the device down to the
    // element the next node may belong to; a list, not the call stack, so no
    // depth of nesting can exhaust it.
    std::vector<Open> m_open{{kDevice, -1}};
    int m_skipBelow = kNoSkip;  // what is below a node at this depth is passed over
};

SvdDocument::SvdDocument(pugi::xml_node device) {
    Add(pugi::xml_node(), SvdTag::Other, 0);  // the null element: no text, no children
    Add(device, SvdTag::Device, 0);
    Gatherer gatherer(*this);
    device.traverse(gatherer);
    gatherer.Finish();
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
        } else {
            text = TrimSvdText(value);
            if (tag == SvdTag::Description) e.oneLine = SvdIsOneLine(text);
        }
        e.body.text = text.data();
        e.extent = static_cast<std::uint32_t>(std::min<size_t>(text.size(), std::numeric_limits<std::uint32_t>::max()));
        if (text.size() > std::numeric_limits<std::uint32_t>::max()) {
            e.aside = true;
            m_aside.emplace_back(index, text);
        }
        return;
    }
    e.body.below[0] = index + 1;
    e.body.below[1] = 0;
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
    for (SvdIndex next = After(element), end = At(parent).body.below[0]; next < end; next = After(next))
        if (At(next).tag == tag) return next;
    return 0;
}
