// SPDX-License-Identifier: MIT
#include "defs/SvdExpansion.h"

#include <algorithm>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "defs/SvdDerivation.h"
#include "defs/SvdDim.h"
#include "defs/SvdNumbers.h"

namespace {

using Node = pugi::xml_node;

// What registers inherit from the device, their peripheral and clusters,
// each level overriding the one above.
struct RegisterProperties {
    std::uint64_t size = 32;
    std::string_view access;
    std::uint64_t resetValue = 0;

    bool operator==(const RegisterProperties&) const = default;
};

bool IsTrue(std::string_view text) { return text == "true" || text == "1"; }

std::uint64_t LowBits(std::uint64_t value, int bits) { return bits >= 64 ? value : value & ((std::uint64_t{1} << bits) - 1); }

// The instances an element stands for: one of its own name, or those of its dim.
struct Instances {
    std::string_view name;           // without dim
    std::vector<std::string> names;  // with dim
    std::uint64_t increment = 0;

    size_t Count() const { return names.empty() ? 1 : names.size(); }
    std::string_view Name(size_t i) const { return names.empty() ? name : std::string_view(names[i]); }
};

// A field element read once, for every instance of its register.
struct PreparedField {
    Node element;
    std::string_view name;
    Instances instances;
    int lsb = 0;
    int msb = 0;
    std::string_view access;
    std::string_view description;
    std::string_view readAction;
    std::string_view modifiedWriteValues;
    std::vector<SvdNamedValueRecord> values;
    std::vector<std::string_view> otherValues;
};

// A register element read once, with the properties it inherited: every
// instance of it (its dim, and the instances of the clusters and peripherals
// around it) is made from this.
struct PreparedRegister {
    Node element;
    RegisterProperties inherited;  // what the levels above gave it: part of its identity
    std::string_view name;
    Instances instances;
    std::uint64_t offset = 0;
    int bits = 32;
    std::string_view access;
    std::uint64_t reset = 0;
    std::string_view description;
    std::string_view readAction;
    std::string_view modifiedWriteValues;
    bool hasFields = false;
    std::uint64_t layout = 0;  // new for each reading of the fields
    std::vector<Node> fieldElements;
    std::vector<PreparedField> fields;  // the sound ones, in file order
};

class SvdExpansion : public SvdProblemSink {
public:
    SvdExpansion(Node device, const SvdLines& lines, SvdRecordSink& sink, const SvdExpansionLimits& limits)
        : m_lines(lines), m_sink(sink), m_limits(limits), m_derivation(device, *this) {}

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

    void Problem(Node element, const SvdPath& path, std::string text) override {
        if (m_stopped && m_problemsStopped) return;
        ++m_problems;
        if (m_problems > m_limits.maxProblems) {
            text = "stopped here: the file has more than " + std::to_string(m_limits.maxProblems) + " problems";
            m_stopped = m_problemsStopped = true;
        }
        m_sink.Problem(SvdProblemRecord{PlaceOf(element), &path, text});
    }

private:
    SvdPlace PlaceOf(Node element) const { return SvdPlace{&m_lines, element}; }

    // An element's description as one line, kept as long as the expansion.
    std::string_view Description(Node description) {
        const std::string_view text = SvdText(description);
        if (SvdIsOneLine(text)) return text;
        return m_texts.emplace_back(SvdOneLine(text));
    }

    // Takes `count` rows from the budget; false (with a problem, and the
    // walk stopped) when they would make too many.
    bool TakeRows(std::uint64_t count, Node element, const SvdPath& path) {
        if (count <= m_limits.maxRows - m_rows) {
            m_rows += count;
            return true;
        }
        Problem(element, path,
                "stopped here: the file expands to more than " + std::to_string(m_limits.maxRows) + " rows");
        m_stopped = true;
        return false;
    }

    // A dim that cannot fit in what is left of the budget stops the walk
    // before its names are made.
    bool DimFits(const Instances& instances, Node element, const SvdPath& path) {
        if (instances.names.empty() || instances.names.size() <= m_limits.maxRows - m_rows) return true;
        return TakeRows(instances.names.size(), element, path);
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
        if (*dim > m_limits.maxRows) {
            Problem(element, path, "dim of " + std::to_string(*dim) + " makes more than " +
                                       std::to_string(m_limits.maxRows) + " rows");
            return false;
        }
        if (*dim > m_limits.maxRows - m_rows) return TakeRows(*dim, element, path);
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
        SvdPeripheralRecord record;
        record.description = Description(chain.Find(SvdChild::Description));
        record.place = PlaceOf(element);
        for (size_t i = 0; i < instances.Count() && !m_stopped; ++i) {
            const SvdPath instancePath{nullptr, instances.Name(i)};
            if (!TakeRows(1, element, instancePath)) return;
            record.name = instances.Name(i);
            record.baseAddress = *base + i * instances.increment;
            m_sink.Peripheral(record);
            const Scope scope{&instancePath, "", record.baseAddress, record.baseAddress, properties, 0};
            for (Node item : items) {
                if (m_stopped) return;
                Item(item, scope);
            }
        }
    }

    // Where a register or cluster stands: the clusters around it (`prefix`
    // holds their names, each with a "."), their address and the register
    // properties they pass on.
    struct Scope {
        const SvdPath* path;
        std::string prefix;
        std::uint64_t peripheralBase;
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
        if (outer.depth >= m_limits.maxClusterDepth) {
            Problem(element, path,
                    "clusters nested more than " + std::to_string(m_limits.maxClusterDepth) + " deep");
            return;
        }
        if (!Begin(chain, SvdKind::Cluster, name, path, "cluster")) return;
        const auto offset = OffsetOf(chain, path, "cluster");
        if (!offset) return;
        Scope scope{nullptr, {}, outer.peripheralBase, 0, outer.properties, outer.depth + 1};
        ApplyProperties(chain, scope.properties, path);
        Instances instances;
        if (!InstancesOf(chain, element, name, path, instances)) return;
        std::vector<Node> items;
        chain.CollectItems(SvdKind::Cluster, items);
        for (size_t i = 0; i < instances.Count() && !m_stopped; ++i) {
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

    // A register reached again with the same inherited properties (another
    // instance of a peripheral or cluster around it, or a peripheral derived
    // from its own) is made from what its first clean reading found.
    void Register(Node element, const Scope& scope) {
        auto& known = m_prepared[element.internal_object()];
        for (const auto& prepared : known) {
            if (prepared->inherited == scope.properties) {
                Emit(*prepared, scope, false);
                return;
            }
        }
        auto prepared = std::make_unique<PreparedRegister>();
        const size_t problemsBefore = m_problems;
        if (!PrepareRegister(element, scope, *prepared)) return;
        const bool clean = Emit(*prepared, scope, true) && m_problems == problemsBefore && !m_stopped;
        if (clean) known.push_back(std::move(prepared));
    }

    bool PrepareRegister(Node element, const Scope& scope, PreparedRegister& out) {
        SvdChain chain(element);
        const std::string_view name = SvdText(chain.Own(SvdChild::Name));
        const SvdPath path{scope.path, name.empty() ? std::string_view("register") : name};
        if (!Begin(chain, SvdKind::Register, name, path, "register")) return false;
        const auto offset = OffsetOf(chain, path, "register");
        if (!offset) return false;
        RegisterProperties properties = scope.properties;
        ApplyProperties(chain, properties, path);
        if (properties.size < 1 || properties.size > 64) {
            Problem(element, path, "size " + std::to_string(properties.size) + " is outside 1..64");
            return false;
        }
        if (!InstancesOf(chain, element, name, path, out.instances)) return false;
        out.element = element;
        out.inherited = scope.properties;
        out.name = name;
        out.offset = *offset;
        out.bits = static_cast<int>(properties.size);
        out.access = properties.access;
        out.reset = LowBits(properties.resetValue, out.bits);
        out.description = Description(chain.Find(SvdChild::Description));
        out.readAction = SvdText(chain.Find(SvdChild::ReadAction));
        out.modifiedWriteValues = SvdText(chain.Find(SvdChild::ModifiedWriteValues));
        chain.CollectItems(SvdKind::Register, out.fieldElements);
        out.hasFields = !out.fieldElements.empty();
        return true;
    }

    // Hands on every instance of a prepared register and its fields. With
    // `readFields` the fields are read for the first instance, and again for
    // each further one while they have problems (each instance's problems
    // are its own). False when reading the fields found problems.
    bool Emit(PreparedRegister& reg, const Scope& scope, bool readFields) {
        const SvdPath namePath{scope.path, reg.name.empty() ? std::string_view("register") : reg.name};
        if (!readFields && !DimFits(reg.instances, reg.element, namePath)) return false;
        SvdRegisterRecord record;
        record.bits = reg.bits;
        record.access = reg.access;
        record.resetValue = reg.reset;
        record.description = reg.description;
        record.readAction = reg.readAction;
        record.modifiedWriteValues = reg.modifiedWriteValues;
        record.hasFields = reg.hasFields;
        record.place = PlaceOf(reg.element);
        std::string label;
        bool fieldsClean = !readFields;
        for (size_t i = 0; i < reg.instances.Count() && !m_stopped; ++i) {
            const SvdPath registerPath{scope.path, reg.instances.Name(i)};
            if (!fieldsClean) {
                const size_t problemsBefore = m_problems;
                PrepareFields(reg, registerPath);
                if (m_stopped) return false;
                fieldsClean = m_problems == problemsBefore;
            }
            label.assign(scope.prefix).append(reg.instances.Name(i));
            if (!TakeRows(reg.hasFields ? 1 : 2, reg.element, registerPath)) return false;
            record.label = label;
            record.address = scope.base + reg.offset + i * reg.instances.increment;
            record.offset = record.address - scope.peripheralBase;
            record.layout = reg.layout;
            m_sink.Register(record);
            for (const PreparedField& field : reg.fields) {
                if (m_stopped) return false;
                EmitField(field, registerPath, !readFields || i > 0);
            }
        }
        return fieldsClean;
    }

    void EmitField(const PreparedField& field, const SvdPath& registerPath, bool checkDim) {
        const SvdPath path{&registerPath, field.name};
        if (checkDim && !DimFits(field.instances, field.element, path)) return;
        SvdFieldRecord record;
        record.access = field.access;
        record.description = field.description;
        record.values = field.values;
        record.otherValues = field.otherValues;
        record.readAction = field.readAction;
        record.modifiedWriteValues = field.modifiedWriteValues;
        record.place = PlaceOf(field.element);
        for (size_t i = 0; i < field.instances.Count() && !m_stopped; ++i) {
            if (!TakeRows(1, field.element, path)) return;
            const int step = static_cast<int>(i * field.instances.increment);
            record.name = field.instances.Name(i);
            record.lsb = field.lsb + step;
            record.msb = field.msb + step;
            m_sink.Field(record);
        }
    }

    void PrepareFields(PreparedRegister& reg, const SvdPath& registerPath) {
        reg.fields.clear();
        reg.layout = ++m_layouts;
        for (Node element : reg.fieldElements) {
            if (m_stopped) return;
            PreparedField field;
            if (PrepareField(element, reg, registerPath, field)) reg.fields.push_back(std::move(field));
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

    bool PrepareField(Node element, const PreparedRegister& reg, const SvdPath& registerPath, PreparedField& out) {
        SvdChain chain(element);
        const std::string_view name = SvdText(chain.Own(SvdChild::Name));
        out.name = name.empty() ? std::string_view("field") : name;
        const SvdPath path{&registerPath, out.name};
        if (!Begin(chain, SvdKind::Field, name, path, "field")) return false;
        const auto span = SpanOf(chain, path);
        if (!span) return false;
        if (!InstancesOf(chain, element, name, path, out.instances)) return false;
        const std::uint64_t lastOffset = (out.instances.Count() - 1) * out.instances.increment;
        if (span->lsb > span->msb || span->msb > 63 || lastOffset > 63) {
            Problem(element, path, "bit range [" + std::to_string(span->msb) + ":" + std::to_string(span->lsb) +
                                       "] is outside 0..63");
            return false;
        }
        if (span->msb + static_cast<int>(lastOffset) >= reg.bits) {
            Problem(element, path, "bit range [" + std::to_string(span->msb + lastOffset) + ":" +
                                       std::to_string(span->lsb) + "] is beyond the " + std::to_string(reg.bits) +
                                       "-bit register");
            return false;
        }
        out.element = element;
        out.lsb = span->lsb;
        out.msb = span->msb;
        out.description = Description(chain.Find(SvdChild::Description));
        const Node accessNode = chain.Find(SvdChild::Access);
        out.access = accessNode ? SvdText(accessNode) : reg.access;
        out.readAction = SvdText(chain.Find(SvdChild::ReadAction));
        out.modifiedWriteValues = SvdText(chain.Find(SvdChild::ModifiedWriteValues));
        if (const Node values = m_derivation.ValuesOf(chain, path)) CollectNamedValues(values, path, out);
        return true;
    }

    // The named values of an enumeratedValues block, and the names of its
    // "any other value" entries.
    void CollectNamedValues(Node values, const SvdPath& path, PreparedField& out) {
        ForEachSvdItem(values, SvdKind::Values, [&](Node value) {
            const SvdChildren children(value);
            const std::string_view name = SvdText(children[SvdChild::Name]);
            if (IsTrue(SvdText(children[SvdChild::IsDefault]))) {
                if (!name.empty()) out.otherValues.push_back(name);
                return;
            }
            const auto number = ParseSvdEnumValue(SvdText(children[SvdChild::Value]));
            if (name.empty() || !number) {
                const SvdPath valuePath{&path, name.empty() ? std::string_view("enumeratedValue") : name};
                Problem(value, valuePath, name.empty() ? "enumeratedValue has no name" : "enumeratedValue has no value");
                return;
            }
            const Node description = children[SvdChild::Description];
            out.values.push_back({name, description ? Description(description) : std::string_view(), *number});
        });
    }

    const SvdLines& m_lines;
    SvdRecordSink& m_sink;
    const SvdExpansionLimits m_limits;
    SvdDerivation m_derivation;
    std::uint64_t m_rows = 0;
    size_t m_problems = 0;
    std::uint64_t m_layouts = 0;
    bool m_stopped = false;
    bool m_problemsStopped = false;  // the problem budget, not the rows, stopped the walk
    std::deque<std::string> m_texts;  // descriptions made one line; a deque, so views into them stay valid
    std::unordered_map<const void*, std::vector<std::unique_ptr<PreparedRegister>>> m_prepared;
};

}  // namespace

void ExpandSvdDevice(Node device, const SvdLines& lines, SvdRecordSink& sink, const SvdExpansionLimits& limits) {
    SvdExpansion expansion(device, lines, sink, limits);
    expansion.Device(device);
}
