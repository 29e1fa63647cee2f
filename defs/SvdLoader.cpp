// SPDX-License-Identifier: MIT
#include "defs/SvdLoader.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>

#include <pugixml.hpp>

#include "bits/BitArithmetic.h"
#include "bits/NumberFormatting.h"
#include "defs/RegisterMap.h"
#include "defs/SvdDerivation.h"
#include "defs/SvdDim.h"
#include "defs/SvdElement.h"
#include "defs/SvdNumbers.h"
#include "tree/PropTree.h"
#include "tree/PropTreeItemCombo.h"
#include "tree/PropTreeItemEdit.h"

namespace {

using Node = pugi::xml_node;

// Problems beyond this many are counted but not kept, so a hostile file of
// millions of faulty elements cannot fill memory with their texts.
constexpr size_t kProblemsKept = 100'000;

// What registers inherit from the device, their peripheral and clusters,
// each level overriding the one above.
struct RegisterProperties {
    std::uint64_t size = 32;
    std::string_view access;
    std::uint64_t resetValue = 0;
};

std::string Hex(std::uint64_t value) { return FormatRegisterHex(value, 0); }

// Appends a description as one line: runs of white space (vendor files wrap
// their descriptions over several indented lines) become one space.
void AppendOneLine(std::string& out, const char* text) {
    auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    // Most descriptions are one line already: they are copied whole, told
    // by the library's fast searches rather than a look at every character.
    const size_t length = std::strlen(text);
    if (length == 0) return;
    if (!isSpace(text[0]) && !isSpace(text[length - 1]) && !std::strpbrk(text, "\t\n\r") &&
        !std::strstr(text, "  ")) {
        out.append(text, length);
        return;
    }
    bool first = true;
    while (*text) {
        while (isSpace(*text)) ++text;
        const char* word = text;
        while (*text && !isSpace(*text)) ++text;
        if (word == text) break;
        if (!first) out += ' ';
        out.append(word, static_cast<size_t>(text - word));
        first = false;
    }
}

// The text of an element's description, as one line.
void AppendDescription(std::string& out, Node description) {
    if (description) AppendOneLine(out, description.text().get());
}

// "TEXT; MORE", leaving out the separator when either side is empty.
void AppendPart(std::string& info, std::string_view part) {
    if (part.empty()) return;
    if (!info.empty()) info += "; ";
    info += part;
}

bool IsTrue(std::string_view text) { return text == "true" || text == "1"; }

// An SVD access value as the view marks it: "read-only" and the write-only
// kinds ("write-only", "writeOnce"); every other value reads and writes.
RowAccess AccessOf(std::string_view access) {
    if (access == "read-only") return RowAccess::ReadOnly;
    if (access == "write-only" || access == "writeOnce") return RowAccess::WriteOnly;
    return RowAccess::ReadWrite;
}

// The instances an element stands for: one of its own name, or those of its dim.
struct Instances {
    std::string_view name;            // without dim
    std::vector<std::string> names;   // with dim
    std::uint64_t increment = 0;

    size_t Count() const { return names.empty() ? 1 : names.size(); }
    std::string_view Name(size_t i) const { return names.empty() ? name : std::string_view(names[i]); }
};

// One load: walks the device and appends rows as it goes, in file order.
class SvdBuilder : public SvdProblemSink {
public:
    SvdBuilder(CRegisterMap& map, LoadReport& result, const SvdLines& lines, Node device, std::uint64_t maxRows)
        : m_map(map), m_tree(map.Tree()), m_table(map.Fields()), m_result(result), m_lines(lines), m_derivation(device, *this),
          m_maxRows(maxRows) {}

    void Device(Node device) {
        const SvdChain chain(device);
        RegisterProperties properties;
        const SvdPath path;
        ApplyProperties(chain, properties, path);
        for (Node block : device.children("peripherals")) {
            for (Node peripheral : block.children("peripheral")) {
                if (m_stopped) return;
                Peripheral(peripheral, properties);
            }
        }
    }

    // Records a problem of `element`, at its line.
    void Problem(Node element, const SvdPath& path, std::string text) override {
        if (m_result.problems.size() >= kProblemsKept) {
            ++m_result.problemsNotKept;
            return;
        }
        LoadProblem problem;
        problem.line = m_lines.LineOf(element.offset_debug());
        problem.path = path.Text();
        problem.text = std::move(text);
        m_result.problems.push_back(std::move(problem));
    }

private:
    // Takes `count` rows from the budget; false (with a problem, and the
    // load stopped) when they would make too many.
    bool TakeRows(std::uint64_t count, Node element, const SvdPath& path) {
        if (count <= m_maxRows - m_rows) {
            m_rows += count;
            return true;
        }
        Problem(element, path, "stopped here: the file expands to more than " + std::to_string(m_maxRows) + " rows");
        m_stopped = true;
        return false;
    }

    // Reads the register properties an element sets into `properties`.
    void ApplyProperties(const SvdChain& chain, RegisterProperties& properties, const SvdPath& path) {
        if (Node size = chain.Find(SvdChild::Size)) {
            if (const auto value = Number(size, path, "size")) properties.size = *value;
        }
        if (Node access = chain.Find(SvdChild::Access)) properties.access = SvdText(access);
        if (Node reset = chain.Find(SvdChild::ResetValue)) {
            if (const auto value = Number(reset, path, "resetValue")) properties.resetValue = *value;
        }
    }

    // The number an element holds, or nothing with a problem.
    std::optional<std::uint64_t> Number(Node element, const SvdPath& path, const char* what) {
        const std::string_view text = SvdText(element);
        const auto value = ParseSvdNumber(text);
        if (!value) Problem(element, path, std::string(what) + " is not a number: \"" + std::string(text) + '"');
        return value;
    }

    // The instances of an element; false (with a problem) when its dim is faulty.
    bool InstancesOf(const SvdChain& chain, Node element, std::string_view name, const SvdPath& path,
                     Instances& out) {
        out.name = name;
        const Node dimNode = chain.Find(SvdChild::Dim);
        if (!dimNode) return true;
        const auto dim = ParseSvdNumber(SvdText(dimNode));
        if (!dim || *dim == 0) {
            Problem(element, path, "dim is not a positive number: \"" + std::string(SvdText(dimNode)) + '"');
            return false;
        }
        if (*dim > m_maxRows) {
            Problem(element, path, "dim of " + std::to_string(*dim) + " makes more than " +
                                       std::to_string(m_maxRows) + " rows");
            return false;
        }
        if (*dim > m_maxRows - m_rows) return TakeRows(*dim, element, path);
        if (Node inc = chain.Find(SvdChild::DimIncrement)) {
            const auto value = Number(inc, path, "dimIncrement");
            if (!value) return false;
            out.increment = *value;
        } else if (*dim > 1) {
            Problem(element, path, "dim without dimIncrement");
            return false;
        }
        std::vector<std::string> indexes;
        if (Node index = chain.Find(SvdChild::DimIndex)) {
            auto parsed = ParseSvdDimIndex(SvdText(index), *dim);
            if (!parsed || parsed->size() != *dim) {
                Problem(element, path, "dimIndex \"" + std::string(SvdText(index)) + "\" does not give " +
                                           std::to_string(*dim) + " names");
                return false;
            }
            indexes = std::move(*parsed);
        } else {
            indexes.reserve(*dim);
            for (std::uint64_t i = 0; i < *dim; ++i) indexes.push_back(std::to_string(i));
        }
        out.names.reserve(indexes.size());
        for (const std::string& index : indexes) out.names.push_back(SvdInstanceName(name, index));
        return true;
    }

    // Resolves an element's derivedFrom and checks it has a name; false
    // (with a problem) when it is to be left out.
    bool Begin(SvdChain& chain, SvdKind kind, std::string_view name, const SvdPath& path, const char* what) {
        if (!m_derivation.Resolve(chain, kind, path)) return false;
        if (!name.empty()) return true;
        Problem(chain.Element(), path, std::string(what) + " has no name");
        return false;
    }

    // The addressOffset of a register or cluster, or nothing with a problem.
    std::optional<std::uint64_t> OffsetOf(const SvdChain& chain, const SvdPath& path, const char* what) {
        const Node offset = chain.Find(SvdChild::AddressOffset);
        if (offset) return Number(offset, path, "addressOffset");
        Problem(chain.Element(), path, std::string(what) + " has no addressOffset");
        return std::nullopt;
    }

    void Peripheral(Node element, RegisterProperties properties) {
        SvdChain chain(element);
        const std::string_view name = SvdText(chain.Own(SvdChild::Name));
        const SvdPath path{nullptr, name.empty() ? std::string_view("peripheral") : name};
        if (!Begin(chain, SvdKind::Peripheral, name, path, "peripheral")) return;
        ApplyProperties(chain, properties, path);
        const Node address = chain.Find(SvdChild::BaseAddress);
        if (!address) {
            Problem(element, path, "peripheral has no baseAddress");
            return;
        }
        const auto base = Number(address, path, "baseAddress");
        Instances instances;
        if (!base || !InstancesOf(chain, element, name, path, instances)) return;
        std::vector<Node> items;
        chain.CollectItems(SvdKind::Peripheral, items);
        std::string description;
        AppendDescription(description, chain.Find(SvdChild::Description));
        for (size_t i = 0; i < instances.Count() && !m_stopped; ++i) {
            const SvdPath instancePath{nullptr, instances.Name(i)};
            if (!TakeRows(1, element, instancePath)) return;
            m_peripheralBase = *base + i * instances.increment;
            auto* set = m_tree.NewItem<CPropTreeItem>(nullptr);
            ++m_result.registerSets;
            m_map.SetBaseAddress(*set, m_peripheralBase);
            set->SetLabelText(std::string(instances.Name(i)).c_str());
            m_info = description;
            AppendPart(m_info, "base address " + Hex(m_peripheralBase));
            set->SetInfoText(m_info.c_str());
            const Scope scope{set, &instancePath, "", m_peripheralBase, properties, 0};
            for (Node item : items) {
                if (m_stopped) return;
                Item(item, scope);
            }
        }
    }

    // Where a register or cluster stands: its set, the clusters around it
    // (`prefix` holds their names, each with a "."), their address and the
    // register properties they pass on.
    struct Scope {
        CPropTreeItem* set;
        const SvdPath* path;
        std::string prefix;
        std::uint64_t base;
        RegisterProperties properties;
        int depth;
    };

    void Item(Node element, const Scope& scope) {
        if (SvdNameIs(element.name(), "cluster"))
            Cluster(element, scope);
        else
            Register(element, scope);
    }

    void Cluster(Node element, const Scope& outer) {
        SvdChain chain(element);
        const std::string_view name = SvdText(chain.Own(SvdChild::Name));
        const SvdPath path{outer.path, name.empty() ? std::string_view("cluster") : name};
        if (outer.depth >= kSvdMaxClusterDepth) {
            Problem(element, path, "clusters nested more than " + std::to_string(kSvdMaxClusterDepth) + " deep");
            return;
        }
        if (!Begin(chain, SvdKind::Cluster, name, path, "cluster")) return;
        const auto offset = OffsetOf(chain, path, "cluster");
        if (!offset) return;
        Scope scope{outer.set, nullptr, {}, 0, outer.properties, outer.depth + 1};
        ApplyProperties(chain, scope.properties, path);
        Instances instances;
        if (!InstancesOf(chain, element, name, path, instances)) return;
        std::vector<Node> items;
        chain.CollectItems(SvdKind::Cluster, items);
        for (size_t i = 0; i < instances.Count() && !m_stopped; ++i) {
            // A cluster instance is no row, but counts as one, so that
            // clusters of clusters cannot multiply without bound.
            const SvdPath instancePath{outer.path, instances.Name(i)};
            if (!TakeRows(1, element, instancePath)) return;
            scope.path = &instancePath;
            scope.prefix = outer.prefix;
            scope.prefix.append(instances.Name(i)).append(".");
            scope.base = outer.base + *offset + i * instances.increment;
            for (Node item : items) {
                if (m_stopped) return;
                Item(item, scope);
            }
        }
    }

    void Register(Node element, const Scope& scope) {
        SvdChain chain(element);
        const std::string_view name = SvdText(chain.Own(SvdChild::Name));
        const SvdPath path{scope.path, name.empty() ? std::string_view("register") : name};
        if (!Begin(chain, SvdKind::Register, name, path, "register")) return;
        const auto offset = OffsetOf(chain, path, "register");
        if (!offset) return;
        RegisterProperties properties = scope.properties;
        ApplyProperties(chain, properties, path);
        if (properties.size < 1 || properties.size > 64) {
            Problem(element, path, "size " + std::to_string(properties.size) + " is outside 1..64");
            return;
        }
        Instances instances;
        if (!InstancesOf(chain, element, name, path, instances)) return;
        const int bits = static_cast<int>(properties.size);
        const std::uint64_t reset = properties.resetValue & FieldMask(0, bits - 1);
        std::vector<Node> fields;
        chain.CollectItems(SvdKind::Register, fields);
        std::string description;
        AppendDescription(description, chain.Find(SvdChild::Description));
        const std::string valueText = FormatRegisterHex(reset, bits);
        std::string label;
        for (size_t i = 0; i < instances.Count() && !m_stopped; ++i) {
            label.assign(scope.prefix).append(instances.Name(i));
            const SvdPath registerPath{scope.path, instances.Name(i)};
            if (!TakeRows(fields.empty() ? 2 : 1, element, registerPath)) return;
            const std::uint64_t address = scope.base + *offset + i * instances.increment;
            auto* reg = m_map.AddRegister(scope.set);
            ++m_result.registers;
            m_map.SetAddress(*reg, address);
            m_map.SetResetValue(*reg, reset);
            reg->SetLabelText(label.c_str());
            reg->m_nBits = bits;
            reg->SetItemValue(reinterpret_cast<LPARAM>(valueText.c_str()));
            m_info = description;
            AppendPart(m_info, "address " + Hex(address) + ", offset " + Hex(address - m_peripheralBase));
            if (!properties.access.empty()) m_info.append(", ").append(properties.access);
            reg->SetInfoText(m_info.c_str());
            if (fields.empty()) {
                // Every register composes: one edit row holds all its bits.
                m_info = description;
                AppendPart(m_info, properties.access);
                EditRow(reg, label.c_str(), 0, bits - 1, reset, AccessOf(properties.access));
                continue;
            }
            for (Node field : fields) {
                if (m_stopped) return;
                Field(field, reg, registerPath, bits, reset, properties.access);
            }
        }
    }

    // The bit span a field gives in any of its three forms, or nothing with a problem.
    std::optional<SvdBitRange> SpanOf(const SvdChain& chain, const SvdPath& path) {
        if (Node range = chain.Find(SvdChild::BitRange)) {
            const auto parsed = ParseSvdBitRange(SvdText(range));
            if (!parsed)
                Problem(range, path, "bitRange is not [msb:lsb]: \"" + std::string(SvdText(range)) + '"');
            return parsed;
        }
        // Bit numbers beyond any register are cut here, so that sums cannot overflow.
        auto small = [](std::uint64_t value) { return static_cast<int>(std::min<std::uint64_t>(value, 1'000'000)); };
        const Node lsbNode = chain.Find(SvdChild::Lsb);
        const Node msbNode = chain.Find(SvdChild::Msb);
        if (lsbNode && msbNode) {
            const auto lsb = Number(lsbNode, path, "lsb");
            const auto msb = Number(msbNode, path, "msb");
            if (!lsb || !msb) return std::nullopt;
            return SvdBitRange{small(*msb), small(*lsb)};
        }
        if (Node offsetNode = chain.Find(SvdChild::BitOffset)) {
            const auto offset = Number(offsetNode, path, "bitOffset");
            if (!offset) return std::nullopt;
            std::uint64_t width = 1;
            if (Node widthNode = chain.Find(SvdChild::BitWidth)) {
                const auto value = Number(widthNode, path, "bitWidth");
                if (!value) return std::nullopt;
                width = *value;
            }
            if (width == 0) {
                Problem(chain.Element(), path, "bitWidth is 0");
                return std::nullopt;
            }
            return SvdBitRange{small(*offset) + small(width) - 1, small(*offset)};
        }
        Problem(chain.Element(), path, "field has no bit range");
        return std::nullopt;
    }

    void Field(Node element, CRegisterItem* reg, const SvdPath& registerPath, int registerBits,
               std::uint64_t reset, std::string_view registerAccess) {
        SvdChain chain(element);
        const std::string_view name = SvdText(chain.Own(SvdChild::Name));
        const SvdPath path{&registerPath, name.empty() ? std::string_view("field") : name};
        if (!Begin(chain, SvdKind::Field, name, path, "field")) return;
        const auto span = SpanOf(chain, path);
        if (!span) return;
        Instances instances;
        if (!InstancesOf(chain, element, name, path, instances)) return;
        const std::uint64_t lastOffset = (instances.Count() - 1) * instances.increment;
        if (span->lsb > span->msb || span->msb > 63 || lastOffset > 63) {
            Problem(element, path, "bit range [" + std::to_string(span->msb) + ":" + std::to_string(span->lsb) +
                                       "] is outside 0..63");
            return;
        }
        if (span->msb + static_cast<int>(lastOffset) >= registerBits) {
            Problem(element, path, "bit range [" + std::to_string(span->msb + lastOffset) + ":" +
                                       std::to_string(span->lsb) + "] is beyond the " +
                                       std::to_string(registerBits) + "-bit register");
            return;
        }
        m_info.clear();
        AppendDescription(m_info, chain.Find(SvdChild::Description));
        const Node accessNode = chain.Find(SvdChild::Access);
        const std::string_view access = accessNode ? SvdText(accessNode) : registerAccess;
        AppendPart(m_info, access);
        m_named.clear();
        if (const Node values = m_derivation.ValuesOf(chain, path)) CollectNamedValues(values, path);
        std::string label;
        for (size_t i = 0; i < instances.Count() && !m_stopped; ++i) {
            const int step = static_cast<int>(i * instances.increment);
            if (!TakeRows(1, element, path)) return;
            label.assign(instances.Name(i));
            if (m_named.empty())
                EditRow(reg, label.c_str(), span->lsb + step, span->msb + step, reset, AccessOf(access));
            else
                ComboRow(reg, label.c_str(), span->lsb + step, span->msb + step, reset, AccessOf(access));
        }
    }

    // An edit row of bits lsb..msb holding its share of `reset`; its info is m_info.
    void EditRow(CRegisterItem* reg, const char* label, int lsb, int msb, std::uint64_t reset, RowAccess access) {
        auto* row = m_tree.NewItem<CPropTreeItemEdit>(reg);
        ++m_result.fields;
        row->SetLabelText(label);
        row->SetInfoText(m_info.c_str());
        const std::uint64_t mask = FieldMask(lsb, msb);
        const std::string text = FormatFieldValue(ShiftRight64(reset, lsb) & mask, "0x", mask);
        row->SetItemValue(reinterpret_cast<LPARAM>(text.c_str()));
        m_table.Set(row, FieldSpan{lsb, msb, false, access});
    }

    // The named values of an enumeratedValues block into m_named, and the
    // names of "any other value" entries onto m_info.
    void CollectNamedValues(Node values, const SvdPath& path) {
        std::string otherValues;
        for (Node value = values.child("enumeratedValue"); value; value = value.next_sibling("enumeratedValue")) {
            Node nameNode, descriptionNode, valueNode, isDefaultNode;
            for (Node child = value.first_child(); child; child = child.next_sibling()) {
                const char* tag = child.name();
                if (SvdNameIs(tag, "name")) nameNode = child;
                else if (SvdNameIs(tag, "value")) valueNode = child;
                else if (SvdNameIs(tag, "description")) descriptionNode = child;
                else if (SvdNameIs(tag, "isDefault")) isDefaultNode = child;
            }
            const std::string_view name = SvdText(nameNode);
            if (IsTrue(SvdText(isDefaultNode))) {
                AppendPart(otherValues, name);
                continue;
            }
            const auto number = ParseSvdEnumValue(SvdText(valueNode));
            if (name.empty() || !number) {
                const SvdPath valuePath{&path, name.empty() ? std::string_view("enumeratedValue") : name};
                Problem(value, valuePath, name.empty() ? "enumeratedValue has no name" : "enumeratedValue has no value");
                continue;
            }
            m_named.push_back({name, descriptionNode, *number});
        }
        if (!m_named.empty() && !otherValues.empty()) AppendPart(m_info, "other values: " + otherValues);
    }

    // A drop-down row of m_named; its info is m_info.
    void ComboRow(CRegisterItem* reg, const char* label, int lsb, int msb, std::uint64_t reset,
                  RowAccess access) {
        const std::uint64_t mask = FieldMask(lsb, msb);
        // A field of up to 32 bits holds its value as a signed 32-bit number,
        // as the calculator writes it.
        const bool narrow = mask <= 0xFFFFFFFFu;
        auto itemValue = [narrow, mask](std::uint64_t value) {
            value &= mask;
            return narrow ? LPARAM{static_cast<std::int32_t>(static_cast<std::uint32_t>(value))}
                          : static_cast<LPARAM>(value);
        };
        auto* combo = m_tree.NewItem<CPropTreeItemCombo>(reg);
        combo->CreateComboBox(0);
        ++m_result.fields;
        combo->SetLabelText(label);
        combo->SetInfoText(m_info.c_str());
        combo->SendMessage(CB_INITSTORAGE, m_named.size(), 0);
        std::string text;
        for (const NamedValue& entry : m_named) {
            text.assign(entry.name);
            const LRESULT index = combo->AddString(text.c_str());
            combo->SetItemData(static_cast<WPARAM>(index), itemValue(entry.value));
        }
        // Descriptions once all entries are in, so their list is sized once.
        for (size_t i = 0; i < m_named.size(); ++i) {
            if (!m_named[i].description) continue;
            text.clear();
            AppendDescription(text, m_named[i].description);
            combo->SetEntryInfo(i, text.c_str());
        }
        combo->SetItemValue(itemValue(ShiftRight64(reset, lsb)));
        m_table.Set(combo, FieldSpan{lsb, msb, true, access});
    }

    struct NamedValue {
        std::string_view name;
        Node description;
        std::uint64_t value;
    };

    CRegisterMap& m_map;
    CPropTree& m_tree;
    CFieldTable& m_table;
    LoadReport& m_result;
    const SvdLines& m_lines;
    SvdDerivation m_derivation;
    const std::uint64_t m_maxRows;
    std::uint64_t m_rows = 0;
    std::uint64_t m_peripheralBase = 0;  // of the peripheral instance being built
    bool m_stopped = false;
    std::string m_info;                  // the info text of the row being built
    std::vector<NamedValue> m_named;     // the named values of the field being built
};

}  // namespace

bool IsSvdText(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    for (;;) {
        bytes = TrimSvdText(bytes);
        std::string_view end;
        if (bytes.substr(0, 4) == "<!--") end = "-->";
        else if (bytes.substr(0, 2) == "<?") end = "?>";
        else if (bytes.substr(0, 2) == "<!") end = ">";
        else break;
        const size_t at = bytes.find(end);
        if (at == std::string_view::npos) return false;
        bytes.remove_prefix(at + end.size());
    }
    if (bytes.substr(0, 7) != "<device") return false;
    if (bytes.size() == 7) return true;
    const char next = bytes[7];
    return next == '>' || next == '/' || next == ' ' || next == '\t' || next == '\n' || next == '\r';
}

LoadReport LoadSvdText(CRegisterMap& map, std::string_view bytes, std::string_view displayName,
                       std::size_t maxRows) {
    LoadReport result;
    result.format = RegisterFileFormat::Svd;
    result.displayName = displayName;
    pugi::xml_document document;
    const pugi::xml_parse_result parse =
        document.load_buffer(bytes.data(), bytes.size(), pugi::parse_cdata | pugi::parse_escapes | pugi::parse_embed_pcdata,
                             pugi::encoding_utf8);
    const SvdLines lines(bytes);
    if (!parse) {
        const auto offset = std::min<std::ptrdiff_t>(parse.offset, static_cast<std::ptrdiff_t>(bytes.size()));
        LoadProblem problem;
        problem.line = lines.LineOf(offset);
        problem.column = lines.ColumnOf(offset);
        problem.text = std::string("not well-formed XML: ") + parse.description();
        result.problems.push_back(std::move(problem));
        return result;
    }
    result.opened = true;
    const Node device = document.document_element();
    SvdBuilder builder(map, result, lines, device, maxRows);
    if (std::strcmp(device.name(), "device") != 0) {
        builder.Problem(device, SvdPath{}, "the first element is not <device>");
        return result;
    }
    map.SetBigEndian(SvdText(device.child("cpu").child("endian")) == "big");
    builder.Device(device);
    map.FinishLoad();
    return result;
}
