#include "defs/SvdLoader.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>

#include <pugixml.hpp>

#include "calc/BitArithmetic.h"
#include "calc/NumberFormatting.h"
#include "defs/FieldTable.h"
#include "defs/RegisterItem.h"
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

// A description as one line: runs of white space (vendor files wrap their
// descriptions over several indented lines) become one space.
std::string OneLine(std::string_view text) {
    std::string line;
    line.reserve(text.size());
    bool space = false;
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            space = !line.empty();
            continue;
        }
        if (space) line += ' ';
        space = false;
        line += c;
    }
    return line;
}

// "TEXT; MORE", leaving out the separator when either side is empty.
void AppendPart(std::string& info, std::string_view part) {
    if (part.empty()) return;
    if (!info.empty()) info += "; ";
    info += part;
}

bool IsTrue(std::string_view text) { return text == "true" || text == "1"; }

// One load: walks the device and appends rows as it goes, in file order.
class SvdBuilder : public SvdProblemSink {
public:
    SvdBuilder(CPropTree& tree, CFieldTable& table, SvdLoadResult& result, const SvdLines& lines, Node device,
               std::uint64_t maxRows)
        : m_tree(tree), m_table(table), m_result(result), m_lines(lines), m_derivation(device, *this),
          m_maxRows(maxRows) {}

    void Device(Node device) {
        const SvdChain chain(device);
        RegisterProperties properties;
        ApplyProperties(chain, properties, "");
        std::vector<Node> peripherals;
        for (Node block : device.children("peripherals"))
            for (Node peripheral : block.children("peripheral")) peripherals.push_back(peripheral);
        for (Node peripheral : peripherals) {
            if (m_stopped) return;
            Peripheral(peripheral, properties);
        }
    }

    // Records a problem of `element`, at its line.
    void Problem(Node element, std::string path, std::string text) override {
        if (m_result.problems.size() >= kProblemsKept) {
            ++m_result.problemsNotKept;
            return;
        }
        SvdProblem problem;
        problem.line = m_lines.LineOf(element.offset_debug());
        problem.path = std::move(path);
        problem.text = std::move(text);
        m_result.problems.push_back(std::move(problem));
    }

private:
    // Takes `count` rows from the budget; false (with a problem, and the
    // load stopped) when they would make too many.
    bool TakeRows(std::uint64_t count, Node element, const std::string& path) {
        if (count <= m_maxRows - m_rows) {
            m_rows += count;
            return true;
        }
        Problem(element, path,
                "stopped here: the file expands to more than " + std::to_string(m_maxRows) + " rows");
        m_stopped = true;
        return false;
    }

    // Reads the register properties an element sets into `properties`.
    void ApplyProperties(const SvdChain& chain, RegisterProperties& properties, const std::string& path) {
        if (Node size = chain.Find(SvdChild::Size)) {
            if (const auto value = Number(size, path, "size")) properties.size = *value;
        }
        if (Node access = chain.Find(SvdChild::Access)) properties.access = SvdText(access);
        if (Node reset = chain.Find(SvdChild::ResetValue)) {
            if (const auto value = Number(reset, path, "resetValue")) properties.resetValue = *value;
        }
    }

    // The number an element holds, or nothing with a problem.
    std::optional<std::uint64_t> Number(Node element, const std::string& path, const char* what) {
        const auto value = ParseSvdNumber(SvdText(element));
        if (!value) Problem(element, path, std::string(what) + " is not a number: \"" + std::string(SvdText(element)) + '"');
        return value;
    }

    // The instances of an element: its dim names and the address step, or
    // one instance named `name`. False (with a problem) when the dim is faulty.
    struct Instances {
        std::vector<std::string> names;
        std::uint64_t increment = 0;
    };
    bool InstancesOf(const SvdChain& chain, Node element, std::string_view name, const std::string& path,
                     Instances& out) {
        const Node dimNode = chain.Find(SvdChild::Dim);
        if (!dimNode) {
            out.names.assign(1, std::string(name));
            return true;
        }
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
        std::uint64_t increment = 0;
        if (Node inc = chain.Find(SvdChild::DimIncrement)) {
            const auto value = ParseSvdNumber(SvdText(inc));
            if (!value) {
                Problem(element, path, "dimIncrement is not a number: \"" + std::string(SvdText(inc)) + '"');
                return false;
            }
            increment = *value;
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
        out.names.clear();
        out.names.reserve(indexes.size());
        for (const std::string& index : indexes) out.names.push_back(SvdInstanceName(name, index));
        out.increment = increment;
        return true;
    }

    void Peripheral(Node element, RegisterProperties properties) {
        const std::string_view rawName = SvdText(element.child("name"));
        const std::string shownName = rawName.empty() ? std::string("peripheral") : std::string(rawName);
        SvdChain chain(element);
        if (!m_derivation.Resolve(chain, SvdKind::Peripheral, shownName)) return;
        if (rawName.empty()) {
            Problem(element, "", "peripheral has no name");
            return;
        }
        ApplyProperties(chain, properties, shownName);
        std::uint64_t base = 0;
        if (Node address = chain.Find(SvdChild::BaseAddress)) {
            const auto value = Number(address, shownName, "baseAddress");
            if (!value) return;
            base = *value;
        } else {
            Problem(element, shownName, "peripheral has no baseAddress");
            return;
        }
        Instances instances;
        if (!InstancesOf(chain, element, rawName, shownName, instances)) return;
        std::vector<Node> items;
        chain.CollectItems(SvdKind::Peripheral, items);
        const std::string description = OneLine(SvdText(chain.Find(SvdChild::Description)));
        for (size_t i = 0; i < instances.names.size() && !m_stopped; ++i) {
            const std::string& name = instances.names[i];
            if (!TakeRows(1, element, name)) return;
            const std::uint64_t address = base + i * instances.increment;
            m_peripheralBase = address;
            auto* set = m_tree.InsertItem(new CPropTreeItem, nullptr);
            ++m_result.registerSets;
            set->SetLabelText(name.c_str());
            std::string info = description;
            AppendPart(info, "base address " + Hex(address));
            set->SetInfoText(info.c_str());
            for (Node item : items) {
                if (m_stopped) return;
                Item(item, set, name, "", address, properties, 0);
            }
        }
    }

    // A register or cluster inside a peripheral or cluster at `base`;
    // `prefix` holds the names of the clusters around it, each with a ".".
    void Item(Node element, CPropTreeItem* set, const std::string& path, const std::string& prefix,
              std::uint64_t base, const RegisterProperties& properties, int depth) {
        if (std::strcmp(element.name(), "cluster") == 0)
            Cluster(element, set, path, prefix, base, properties, depth + 1);
        else
            Register(element, set, path, prefix, base, properties);
    }

    void Cluster(Node element, CPropTreeItem* set, const std::string& path, const std::string& prefix,
                 std::uint64_t base, RegisterProperties properties, int depth) {
        const std::string_view rawName = SvdText(element.child("name"));
        const std::string here = path + "." + (rawName.empty() ? std::string("cluster") : std::string(rawName));
        if (depth > kSvdMaxClusterDepth) {
            Problem(element, here, "clusters nested more than " + std::to_string(kSvdMaxClusterDepth) + " deep");
            return;
        }
        SvdChain chain(element);
        if (!m_derivation.Resolve(chain, SvdKind::Cluster, here)) return;
        if (rawName.empty()) {
            Problem(element, here, "cluster has no name");
            return;
        }
        const Node offsetNode = chain.Find(SvdChild::AddressOffset);
        if (!offsetNode) {
            Problem(element, here, "cluster has no addressOffset");
            return;
        }
        const auto offset = Number(offsetNode, here, "addressOffset");
        if (!offset) return;
        ApplyProperties(chain, properties, here);
        Instances instances;
        if (!InstancesOf(chain, element, rawName, here, instances)) return;
        std::vector<Node> items;
        chain.CollectItems(SvdKind::Cluster, items);
        for (size_t i = 0; i < instances.names.size() && !m_stopped; ++i) {
            // A cluster instance is no row, but counts as one, so that
            // clusters of clusters cannot multiply without bound.
            if (!TakeRows(1, element, here)) return;
            const std::string& name = instances.names[i];
            const std::uint64_t address = base + *offset + i * instances.increment;
            const std::string innerPath = path + "." + name;
            const std::string innerPrefix = prefix + name + ".";
            for (Node item : items) {
                if (m_stopped) return;
                Item(item, set, innerPath, innerPrefix, address, properties, depth);
            }
        }
    }

    void Register(Node element, CPropTreeItem* set, const std::string& path, const std::string& prefix,
                  std::uint64_t base, RegisterProperties properties) {
        const std::string_view rawName = SvdText(element.child("name"));
        const std::string here = path + "." + (rawName.empty() ? std::string("register") : std::string(rawName));
        SvdChain chain(element);
        if (!m_derivation.Resolve(chain, SvdKind::Register, here)) return;
        if (rawName.empty()) {
            Problem(element, here, "register has no name");
            return;
        }
        const Node offsetNode = chain.Find(SvdChild::AddressOffset);
        if (!offsetNode) {
            Problem(element, here, "register has no addressOffset");
            return;
        }
        const auto offset = Number(offsetNode, here, "addressOffset");
        if (!offset) return;
        ApplyProperties(chain, properties, here);
        if (properties.size < 1 || properties.size > 64) {
            Problem(element, here, "size " + std::to_string(properties.size) + " is outside 1..64");
            return;
        }
        const int bits = static_cast<int>(properties.size);
        const std::uint64_t reset = properties.resetValue & FieldMask(0, bits - 1);
        Instances instances;
        if (!InstancesOf(chain, element, rawName, here, instances)) return;
        std::vector<Node> fields;
        chain.CollectItems(SvdKind::Register, fields);
        const std::string description = OneLine(SvdText(chain.Find(SvdChild::Description)));
        const std::string valueText = FormatRegisterHex(reset, bits);
        for (size_t i = 0; i < instances.names.size() && !m_stopped; ++i) {
            const std::string label = prefix + instances.names[i];
            const std::string registerPath = path + "." + instances.names[i];
            if (!TakeRows(1 + (fields.empty() ? 1 : 0), element, registerPath)) return;
            const std::uint64_t address = base + *offset + i * instances.increment;
            auto* reg = new CRegisterItem;
            m_tree.InsertItem(reg, set);
            ++m_result.registers;
            reg->SetLabelText(label.c_str());
            reg->m_nBits = bits;
            reg->SetItemValue(reinterpret_cast<LPARAM>(valueText.c_str()));
            std::string info = description;
            std::string place = "address " + Hex(address) + ", offset " + Hex(address - m_peripheralBase);
            if (!properties.access.empty()) place.append(", ").append(properties.access);
            AppendPart(info, place);
            reg->SetInfoText(info.c_str());
            if (fields.empty()) {
                // Every register composes: one edit row holds all its bits.
                std::string fieldInfo = description;
                AppendPart(fieldInfo, properties.access);
                EditRow(reg, label, 0, bits - 1, reset, fieldInfo);
                continue;
            }
            for (Node field : fields) {
                if (m_stopped) return;
                Field(field, reg, registerPath, bits, reset, properties.access);
            }
        }
    }

    // The bit span a field gives in any of its three forms, or nothing with a problem.
    std::optional<SvdBitRange> SpanOf(const SvdChain& chain, Node element, const std::string& path) {
        if (Node range = chain.Find(SvdChild::BitRange)) {
            const auto parsed = ParseSvdBitRange(SvdText(range));
            if (!parsed) Problem(element, path, "bitRange is not [msb:lsb]: \"" + std::string(SvdText(range)) + '"');
            return parsed;
        }
        const Node lsbNode = chain.Find(SvdChild::Lsb);
        const Node msbNode = chain.Find(SvdChild::Msb);
        if (lsbNode && msbNode) {
            const auto lsb = Number(lsbNode, path, "lsb");
            const auto msb = Number(msbNode, path, "msb");
            if (!lsb || !msb) return std::nullopt;
            return SvdBitRange{static_cast<int>(std::min<std::uint64_t>(*msb, 1'000'000)),
                               static_cast<int>(std::min<std::uint64_t>(*lsb, 1'000'000))};
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
            if (width == 0 || *offset > 1'000'000 || width > 1'000'000) {
                Problem(element, path, "bitWidth is not a positive number");
                return std::nullopt;
            }
            return SvdBitRange{static_cast<int>(*offset + width - 1), static_cast<int>(*offset)};
        }
        Problem(element, path, "field has no bit range");
        return std::nullopt;
    }

    void Field(Node element, CRegisterItem* reg, const std::string& path, int registerBits, std::uint64_t reset,
               std::string_view registerAccess) {
        const std::string_view rawName = SvdText(element.child("name"));
        const std::string here = path + "." + (rawName.empty() ? std::string("field") : std::string(rawName));
        SvdChain chain(element);
        if (!m_derivation.Resolve(chain, SvdKind::Field, here)) return;
        if (rawName.empty()) {
            Problem(element, here, "field has no name");
            return;
        }
        const auto span = SpanOf(chain, element, here);
        if (!span) return;
        Instances instances;
        if (!InstancesOf(chain, element, rawName, here, instances)) return;
        const std::uint64_t lastOffset = (instances.names.size() - 1) * instances.increment;
        if (span->lsb > span->msb || span->msb > 63 || lastOffset > 63) {
            Problem(element, here, "bit range [" + std::to_string(span->msb) + ":" + std::to_string(span->lsb) +
                                       "] is outside 0..63");
            return;
        }
        if (span->msb + static_cast<int>(lastOffset) >= registerBits) {
            Problem(element, here, "bit range [" + std::to_string(span->msb + lastOffset) + ":" +
                                       std::to_string(span->lsb) + "] is beyond the " +
                                       std::to_string(registerBits) + "-bit register");
            return;
        }
        std::string info = OneLine(SvdText(chain.Find(SvdChild::Description)));
        const Node accessNode = chain.Find(SvdChild::Access);
        AppendPart(info, accessNode ? SvdText(accessNode) : registerAccess);
        const Node values = m_derivation.ValuesOf(chain, here);
        for (size_t i = 0; i < instances.names.size() && !m_stopped; ++i) {
            const int lsb = span->lsb + static_cast<int>(i * instances.increment);
            const int msb = span->msb + static_cast<int>(i * instances.increment);
            if (!TakeRows(1, element, here)) return;
            if (!values || !ComboRow(reg, values, instances.names[i], lsb, msb, reset, info, here))
                EditRow(reg, instances.names[i], lsb, msb, reset, info);
        }
    }

    void EditRow(CRegisterItem* reg, const std::string& label, int lsb, int msb, std::uint64_t reset,
                 const std::string& info) {
        auto* row = new CPropTreeItemEdit;
        m_tree.InsertItem(row, reg);
        ++m_result.fields;
        row->SetLabelText(label.c_str());
        row->SetInfoText(info.c_str());
        const std::uint64_t mask = FieldMask(lsb, msb);
        const std::string text = FormatFieldValue(ShiftRight64(reset, lsb) & mask, "0x", mask);
        row->SetItemValue(reinterpret_cast<LPARAM>(text.c_str()));
        m_table.Set(row, FieldSpan{lsb, msb, false});
    }

    // A drop-down row of the named values in `values`; false when none of
    // them carries a value (then the field is an edit row).
    bool ComboRow(CRegisterItem* reg, Node values, const std::string& label, int lsb, int msb, std::uint64_t reset,
                  std::string info, const std::string& path) {
        const std::uint64_t mask = FieldMask(lsb, msb);
        const bool narrow = mask <= 0xFFFFFFFFu;
        // A field of up to 32 bits holds its value as a signed 32-bit number,
        // as the calculator writes it.
        auto asItemValue = [narrow](std::uint64_t value) {
            return narrow ? LPARAM{static_cast<std::int32_t>(static_cast<std::uint32_t>(value))}
                          : static_cast<LPARAM>(value);
        };
        struct Named {
            std::string_view name;
            std::string_view description;
            LPARAM value;
        };
        std::vector<Named> named;
        std::string otherValues;
        for (Node value : values.children("enumeratedValue")) {
            const SvdChildren children(value);
            const std::string_view name = SvdText(children[SvdChild::Name]);
            if (IsTrue(SvdText(children[SvdChild::IsDefault]))) {
                AppendPart(otherValues, name);
                continue;
            }
            const Node valueNode = children[SvdChild::Value];
            const auto number = ParseSvdEnumValue(SvdText(valueNode));
            if (name.empty() || !number) {
                Problem(value, path + "." + (name.empty() ? std::string("enumeratedValue") : std::string(name)),
                        name.empty() ? "enumeratedValue has no name" : "enumeratedValue has no value");
                continue;
            }
            named.push_back({name, SvdText(children[SvdChild::Description]), asItemValue(*number & mask)});
        }
        if (named.empty()) return false;
        if (!otherValues.empty()) AppendPart(info, "other values: " + otherValues);
        auto* combo = new CPropTreeItemCombo;
        m_tree.InsertItem(combo, reg);
        combo->CreateComboBox(0);
        ++m_result.fields;
        combo->SetLabelText(label.c_str());
        combo->SetInfoText(info.c_str());
        std::string text;
        for (const Named& entry : named) {
            text.assign(entry.name);
            const LRESULT index = combo->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
            combo->SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(index), entry.value);
            if (!entry.description.empty())
                combo->SetEntryInfo(static_cast<size_t>(index), OneLine(entry.description).c_str());
        }
        combo->SetItemValue(asItemValue(ShiftRight64(reset, lsb) & mask));
        m_table.Set(combo, FieldSpan{lsb, msb, true});
        return true;
    }

    CPropTree& m_tree;
    CFieldTable& m_table;
    SvdLoadResult& m_result;
    const SvdLines& m_lines;
    SvdDerivation m_derivation;
    const std::uint64_t m_maxRows;
    std::uint64_t m_rows = 0;
    std::uint64_t m_peripheralBase = 0;  // of the peripheral instance being built
    bool m_stopped = false;
};

}  // namespace

std::string SvdProblem::Format(std::string_view displayName) const {
    std::string text(displayName);
    text += ':' + std::to_string(line) + ": ";
    if (!path.empty()) text += path + ": ";
    return text + this->text;
}

std::string SvdLoadResult::Message() const {
    if (!parsed) return parseError;
    if (problems.empty()) return {};
    const size_t count = problems.size() + problemsNotKept;
    std::string message = displayName + ": " + std::to_string(count) + (count == 1 ? " problem" : " problems") +
                          "; everything else was loaded.";
    for (size_t i = 0; i < problems.size() && i < kSvdProblemsShown; ++i) {
        const SvdProblem& problem = problems[i];
        message += "\nline " + std::to_string(problem.line) + ": ";
        if (!problem.path.empty()) message += problem.path + ": ";
        message += problem.text;
    }
    if (count > kSvdProblemsShown) message += "\n... and " + std::to_string(count - kSvdProblemsShown) + " more.";
    return message;
}

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

SvdLoadResult LoadSvdText(CPropTree& tree, CFieldTable& table, std::string_view bytes,
                          std::string_view displayName, std::size_t maxRows) {
    SvdLoadResult result;
    result.displayName = displayName;
    pugi::xml_document document;
    const pugi::xml_parse_result parse =
        document.load_buffer(bytes.data(), bytes.size(), pugi::parse_cdata | pugi::parse_escapes, pugi::encoding_utf8);
    const SvdLines lines(bytes);
    if (!parse) {
        const auto offset = std::min<std::ptrdiff_t>(parse.offset, static_cast<std::ptrdiff_t>(bytes.size()));
        result.parseError = result.displayName + ":" + std::to_string(lines.LineOf(offset)) + ":" +
                            std::to_string(lines.ColumnOf(offset)) + ": not well-formed XML: " + parse.description();
        return result;
    }
    result.parsed = true;
    const Node device = document.document_element();
    SvdBuilder builder(tree, table, result, lines, device, maxRows);
    if (std::strcmp(device.name(), "device") != 0) {
        builder.Problem(device, "", "the first element is not <device>");
        return result;
    }
    builder.Device(device);
    return result;
}
