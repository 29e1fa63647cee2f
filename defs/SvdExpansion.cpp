// SPDX-License-Identifier: MIT
#include "defs/SvdExpansion.h"

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "bits/Arena.h"
#include "defs/HeaderNameTable.h"
#include "defs/SvdDerivation.h"
#include "defs/SvdDim.h"
#include "defs/SvdDocument.h"
#include "defs/SvdNumbers.h"
#include "defs/UniqueLabels.h"

namespace {

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

// A part of one of the expansion's lists: what belongs to one register or field.
struct Slice {
    std::uint32_t first = 0;
    std::uint32_t count = 0;
};

// A field element read once, for every instance of its register.
struct PreparedField {
    SvdIndex element = 0;
    std::string_view name;
    Instances instances;
    int lsb = 0;
    int msb = 0;
    std::string_view access;
    std::string_view description;
    std::string_view readAction;
    std::string_view modifiedWriteValues;
    Slice values;       // in the expansion's named values
    Slice otherValues;  // in the expansion's names of "any other value" entries
    Slice readValues;   // the names of what a read gives, where the field names them apart
    Slice readOtherValues;
};

// A register element read once, with the properties it inherited: every
// instance of it (its dim, and the instances of the clusters and peripherals
// around it) is made from this.
struct PreparedRegister {
    SvdIndex element = 0;
    RegisterProperties inherited;  // what the levels above gave it: part of its identity
    std::string_view name;  // as shown: with its alternateGroup (SvdGroupedName)
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
    Slice fieldElements;       // in the expansion's list of field elements
    Slice fields;              // the sound ones, in file order, in the expansion's prepared fields
    std::uint64_t fieldRows = 0;  // the field records an instance hands on: the fields' instances
    // Where the expansion's lists stood before the fields were first read,
    // so that a reading again (an instance with problems) starts afresh.
    bool fieldsRead = false;
    std::uint32_t valuesMark = 0;
    std::uint32_t otherValuesMark = 0;
    // The next reading of the same element (with other inherited
    // properties), counted from 1 in the expansion's list; 0 for none.
    std::uint32_t next = 0;
};

// A number kept for some elements, 0 for the others: a small table of open
// addressing, as the elements it is kept for (registers) are few among all.
class ElementNumbers {
public:
    std::uint32_t Find(SvdIndex element) const {
        if (m_slots.empty()) return 0;
        for (size_t at = Slot(element);; at = (at + 1) & (m_slots.size() - 1)) {
            if (m_slots[at].first == element) return m_slots[at].second;
            if (m_slots[at].first == 0) return 0;
        }
    }
    void Set(SvdIndex element, std::uint32_t number) {
        if ((m_used + 1) * 2 > m_slots.size()) Grow();
        size_t at = Slot(element);
        while (m_slots[at].first != 0 && m_slots[at].first != element) at = (at + 1) & (m_slots.size() - 1);
        if (m_slots[at].first == 0) ++m_used;
        m_slots[at] = {element, number};
    }

private:
    size_t Slot(SvdIndex element) const {
        return static_cast<size_t>((std::uint64_t{element} * 0x9E3779B97F4A7C15u) >> 32) & (m_slots.size() - 1);
    }
    void Grow() {
        std::vector<std::pair<SvdIndex, std::uint32_t>> old(std::max<size_t>(64, m_slots.size() * 2));
        old.swap(m_slots);
        m_used = 0;
        for (const auto& [element, number] : old)
            if (element != 0) Set(element, number);
    }

    std::vector<std::pair<SvdIndex, std::uint32_t>> m_slots;  // element 0 (the null element) marks a free slot
    size_t m_used = 0;
};

template <typename T>
std::span<const T> SpanOf(const std::vector<T>& list, Slice slice) {
    return {list.data() + slice.first, slice.count};
}

class SvdExpansion : public SvdProblemSink {
public:
    SvdExpansion(const SvdDocument& document, const SvdLines& lines, SvdRecordSink& sink, const SvdExpansionLimits& limits)
        : m_document(document),
          m_lines(lines),
          m_sink(sink),
          m_limits(limits),
          m_derivation(document, *this) {}

    void Device() {
        const SvdIndex device = SvdDocument::kDevice;
        const SvdChain chain(m_document, device);
        RegisterProperties properties;
        const SvdPath path;
        ApplyProperties(chain, properties, path);
        m_cInstancePrefix = NodeText(device, "headerDefinitionsPrefix");
        for (const SvdIndex block : m_document.Children(device)) {
            if (m_document.Tag(block) != SvdTag::Peripherals) continue;
            for (const SvdIndex peripheral : m_document.Children(block)) {
                if (m_document.Tag(peripheral) != SvdTag::Peripheral) continue;
                if (m_stopped) return;
                Peripheral(peripheral, properties);
            }
        }
    }

    void Problem(SvdIndex element, const SvdPath& path, ProblemCode code, std::string text) override {
        if (m_stopped && m_problemsStopped) return;
        ++m_problems;
        if (m_problems > m_limits.maxProblems) {
            code = ProblemCode::kLimitReached;
            text = "stopped here: the file has more than " + std::to_string(m_limits.maxProblems) + " problems";
            m_stopped = m_problemsStopped = true;
        }
        m_sink.Problem(SvdProblemRecord{PlaceOf(element), &path, code, text});
    }

private:
    SvdPlace PlaceOf(SvdIndex element) const { return SvdPlace{&m_lines, m_document.Node(element)}; }
    std::string_view Text(SvdIndex element) const { return m_document.Text(element); }

    // An element's description as one line, kept as long as the expansion.
    std::string_view Description(SvdIndex description) {
        const std::string_view text = Text(description);
        if (m_document.IsOneLine(description)) return text;
        char* line = static_cast<char*>(m_texts.Allocate(text.size()));
        return {line, SvdOneLineInto(text, line)};
    }

    // The text of `element`'s own child `name`, from pugixml's document: for
    // the elements only the C names read, once a device, peripheral or
    // cluster, which the gathered document leaves out.
    std::string_view NodeText(SvdIndex element, const char* name) const {
        return TrimSvdText(m_document.Node(element).child_value(name));
    }
    bool HasNodeChild(SvdIndex element, const char* name) const {
        return static_cast<bool>(m_document.Node(element).child(name));
    }
    // The first such text along the chain, nearest first.
    std::string_view ChainNodeText(const SvdChain& chain, const char* name) const {
        for (size_t i = 0; i < chain.Length(); ++i)
            if (const std::string_view text = NodeText(chain.At(i), name); !text.empty()) return text;
        return {};
    }

    // The peripheral whose macros a peripheral's registers take: itself, or,
    // derived without registers, headerStructName, prependToName,
    // appendToName, size or addressBlock of its own, its base's.
    SvdIndex MacroPeripheral(const SvdChain& chain) const {
        for (size_t i = 0;; ++i) {
            const SvdIndex element = chain.At(i);
            const bool ownLayout = !NodeText(element, "headerStructName").empty() ||
                                   m_document.Child(element, SvdTag::Registers) || m_document.Child(element, SvdTag::Size) ||
                                   HasNodeChild(element, "prependToName") || HasNodeChild(element, "appendToName") ||
                                   HasNodeChild(element, "addressBlock");
            if (ownLayout || i + 1 == chain.Length()) return element;
        }
    }
    // The start of that peripheral's macros: its headerStructName, else its name.
    std::string PeripheralMacro(SvdIndex peripheral) const {
        if (const std::string_view header = NodeText(peripheral, "headerStructName"); !header.empty())
            return CodeIdentifierPart(header);
        return PeripheralName(peripheral);
    }
    std::string PeripheralName(SvdIndex peripheral) const {
        return CodeIdentifierPart(SvdNameWithoutDim(m_document.ChildText(peripheral, SvdTag::Name)));
    }

    // A cluster's part of its registers' macros: its name without its dim,
    // a dimName before it (`part`), or its headerStructName where that is
    // neither this part nor `names`, the peripheral's name and the clusters'
    // parts down to this one joined by '_' (the header names the struct of
    // such a cluster after those names already).
    std::string ClusterMacroPart(const SvdChain& chain, const std::string& part, const std::string& names) const {
        const std::string header = CodeIdentifierPart(ChainNodeText(chain, "headerStructName"));
        if (!header.empty() && header != part && header != names) return header;
        return part;
    }

    // A text kept as long as the expansion.
    std::string_view Keep(std::string_view text) {
        char* kept = static_cast<char*>(m_texts.Allocate(text.size()));
        std::copy(text.begin(), text.end(), kept);
        return {kept, text.size()};
    }

    // Takes `count` rows from the budget; false (with a problem, and the
    // walk stopped) when they would make too many.
    bool TakeRows(std::uint64_t count, SvdIndex element, const SvdPath& path) {
        if (count <= m_limits.maxRows - m_rows) {
            m_rows += count;
            return true;
        }
        Problem(element, path, ProblemCode::kLimitReached,
                "stopped here: the file expands to more than " + std::to_string(m_limits.maxRows) + " rows");
        m_stopped = true;
        return false;
    }

    // A dim that cannot fit in what is left of the budget stops the walk
    // before its names are made.
    bool DimFits(const Instances& instances, SvdIndex element, const SvdPath& path) {
        if (instances.names.empty() || instances.names.size() <= m_limits.maxRows - m_rows) return true;
        return TakeRows(instances.names.size(), element, path);
    }

    // Reads the register properties an element sets into `properties`.
    void ApplyProperties(const SvdChain& chain, RegisterProperties& properties, const SvdPath& path) {
        if (SvdIndex size = chain.Find(SvdTag::Size)) {
            if (const auto value = Number(size, path, "size")) properties.size = *value;
        }
        if (SvdIndex access = chain.Find(SvdTag::Access)) properties.access = Text(access);
        if (SvdIndex reset = chain.Find(SvdTag::ResetValue)) {
            if (const auto value = Number(reset, path, "resetValue")) properties.resetValue = *value;
        }
    }

    // The number an element holds, or nothing with a problem.
    std::optional<std::uint64_t> Number(SvdIndex element, const SvdPath& path, const char* what) {
        const std::string_view text = Text(element);
        const auto value = ParseSvdNumber(text);
        if (!value) Problem(element, path, ProblemCode::kBadValue, std::string(what) + " is not a number: \"" + std::string(text) + '"');
        return value;
    }

    // The instances of an element; false (with a problem) when its dim is faulty.
    bool InstancesOf(const SvdChain& chain, SvdIndex element, std::string_view name, const SvdPath& path,
                     Instances& out) {
        out.name = name;
        const SvdIndex dimNode = chain.Find(SvdTag::Dim);
        if (!dimNode) return true;
        const auto dim = ParseSvdNumber(Text(dimNode));
        if (!dim || *dim == 0) {
            Problem(element, path, ProblemCode::kBadValue, "dim is not a positive number: \"" + std::string(Text(dimNode)) + '"');
            return false;
        }
        if (*dim > m_limits.maxRows) {
            Problem(element, path, ProblemCode::kLimitReached, "dim of " + std::to_string(*dim) + " makes more than " +
                                       std::to_string(m_limits.maxRows) + " rows");
            return false;
        }
        if (*dim > m_limits.maxRows - m_rows) return TakeRows(*dim, element, path);
        if (SvdIndex inc = chain.Find(SvdTag::DimIncrement)) {
            const auto value = Number(inc, path, "dimIncrement");
            if (!value) return false;
            out.increment = *value;
        } else if (*dim > 1) {
            Problem(element, path, ProblemCode::kMissingPart, "dim without dimIncrement");
            return false;
        }
        std::vector<std::string> indexes;
        if (SvdIndex index = chain.Find(SvdTag::DimIndex)) {
            auto parsed = ParseSvdDimIndex(Text(index), *dim);
            if (!parsed || parsed->size() != *dim) {
                Problem(element, path, ProblemCode::kBadValue, "dimIndex \"" + std::string(Text(index)) + "\" does not give " +
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
        Problem(chain.Element(), path, ProblemCode::kMissingPart, std::string(what) + " has no name");
        return false;
    }

    // The addressOffset of a register or cluster, or nothing with a problem.
    std::optional<std::uint64_t> OffsetOf(const SvdChain& chain, const SvdPath& path, const char* what) {
        const SvdIndex offset = chain.Find(SvdTag::AddressOffset);
        if (offset) return Number(offset, path, "addressOffset");
        Problem(chain.Element(), path, ProblemCode::kMissingPart, std::string(what) + " has no addressOffset");
        return std::nullopt;
    }

    void Peripheral(SvdIndex element, RegisterProperties properties) {
        SvdChain chain(m_document, element);
        const std::string_view name = Text(chain.Own(SvdTag::Name));
        const SvdPath path{nullptr, name.empty() ? std::string_view("peripheral") : name};
        if (!Begin(chain, SvdKind::Peripheral, name, path, "peripheral")) return;
        ApplyProperties(chain, properties, path);
        const SvdIndex address = chain.Find(SvdTag::BaseAddress);
        if (!address) {
            Problem(element, path, ProblemCode::kMissingPart, "peripheral has no baseAddress");
            return;
        }
        const auto base = Number(address, path, "baseAddress");
        Instances instances;
        if (!base || !InstancesOf(chain, element, name, path, instances)) return;
        std::vector<SvdIndex> items;
        chain.CollectItems(SvdKind::Peripheral, items);
        SvdPeripheralRecord record;
        record.description = Description(chain.Find(SvdTag::Description));
        record.place = PlaceOf(element);
        const SvdIndex macroPeripheral = MacroPeripheral(chain);
        const std::string macro = PeripheralMacro(macroPeripheral);
        const std::string macroName = PeripheralName(macroPeripheral);
        record.cInstancePrefix = m_cInstancePrefix;
        record.cMacro = macro;
        record.prependToName = ChainNodeText(chain, "prependToName");
        record.appendToName = ChainNodeText(chain, "appendToName");
        for (size_t i = 0; i < instances.Count() && !m_stopped; ++i) {
            const SvdPath instancePath{nullptr, instances.Name(i)};
            if (!TakeRows(1, element, instancePath)) return;
            record.name = instances.Name(i);
            record.baseAddress = *base + i * instances.increment;
            m_sink.Peripheral(record);
            m_labels.Clear();
            const Scope scope{&instancePath, "", record.baseAddress, record.baseAddress, properties, 0, macro, macroName};
            for (SvdIndex item : items) {
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
        std::string cMacro;  // the start of their registers' macros: "P_C"
        std::string cNames;  // the peripheral's name and the clusters' joined: "P_C"
    };

    void Item(SvdIndex element, const Scope& scope) {
        if (m_document.Tag(element) == SvdTag::Cluster)
            Cluster(element, scope);
        else
            Register(element, scope);
    }

    void Cluster(SvdIndex element, const Scope& outer) {
        SvdChain chain(m_document, element);
        const std::string_view name = Text(chain.Own(SvdTag::Name));
        const SvdPath path{outer.path, name.empty() ? std::string_view("cluster") : name};
        if (outer.depth >= m_limits.maxClusterDepth) {
            Problem(element, path, ProblemCode::kLimitReached,
                    "clusters nested more than " + std::to_string(m_limits.maxClusterDepth) + " deep");
            return;
        }
        if (!Begin(chain, SvdKind::Cluster, name, path, "cluster")) return;
        const auto offset = OffsetOf(chain, path, "cluster");
        if (!offset) return;
        const std::string part = CodeIdentifierPart(std::string(ChainNodeText(chain, "dimName")) + SvdNameWithoutDim(name));
        const std::string names = outer.cNames + "_" + part;
        Scope scope{nullptr, {}, outer.peripheralBase, 0, outer.properties, outer.depth + 1,
                    outer.cMacro + "_" + ClusterMacroPart(chain, part, names), names};
        ApplyProperties(chain, scope.properties, path);
        Instances instances;
        if (!InstancesOf(chain, element, name, path, instances)) return;
        std::vector<SvdIndex> items;
        chain.CollectItems(SvdKind::Cluster, items);
        for (size_t i = 0; i < instances.Count() && !m_stopped; ++i) {
            const SvdPath instancePath{outer.path, instances.Name(i)};
            if (!TakeRows(1, element, instancePath)) return;
            scope.path = &instancePath;
            scope.prefix = outer.prefix;
            scope.prefix.append(instances.Name(i)).append(".");
            scope.base = outer.base + *offset + i * instances.increment;
            for (SvdIndex item : items) {
                if (m_stopped) return;
                Item(item, scope);
            }
        }
    }

    // A register reached again with the same inherited properties (another
    // instance of a peripheral or cluster around it, or a peripheral derived
    // from its own) is made from what its first clean reading found.
    void Register(SvdIndex element, const Scope& scope) {
        for (std::uint32_t at = m_preparedOf.Find(element); at; at = m_registers[at - 1].next) {
            if (m_registers[at - 1].inherited == scope.properties) {
                Emit(m_registers[at - 1], scope, false);
                return;
            }
        }
        // Read afresh; the reading is kept only when it is clean, and
        // nothing else is added to the lists meanwhile, so they are cut
        // back to where they were otherwise.
        // A renamed instance leaves the reading clean: the rename is of the
        // place it is handed on to, not of what was read.
        const size_t problemsBefore = m_problems - m_renames;
        const size_t items = m_items.size();
        const size_t fields = m_fields.size();
        const size_t values = m_values.size();
        const size_t otherValues = m_otherValues.size();
        PreparedRegister& prepared = m_registers.emplace_back();
        const bool clean = PrepareRegister(element, scope, prepared) && Emit(prepared, scope, true) &&
                           m_problems - m_renames == problemsBefore && !m_stopped;
        if (clean) {
            prepared.next = m_preparedOf.Find(element);
            m_preparedOf.Set(element, static_cast<std::uint32_t>(m_registers.size()));
            return;
        }
        m_registers.pop_back();
        m_items.resize(items);
        m_fields.erase(m_fields.begin() + static_cast<std::ptrdiff_t>(fields), m_fields.end());
        m_values.resize(values);
        m_otherValues.resize(otherValues);
    }

    bool PrepareRegister(SvdIndex element, const Scope& scope, PreparedRegister& out) {
        SvdChain chain(m_document, element);
        std::string_view name = Text(chain.Own(SvdTag::Name));
        SvdPath path{scope.path, name.empty() ? std::string_view("register") : name};
        if (!Begin(chain, SvdKind::Register, name, path, "register")) return false;
        // Registers sharing an address and a name tell themselves apart by
        // their group, wherever the name is shown or read.
        if (const std::string_view group = Text(chain.Find(SvdTag::AlternateGroup)); !group.empty()) {
            name = Keep(SvdGroupedName(name, group));
            path.name = name;
        }
        const auto offset = OffsetOf(chain, path, "register");
        if (!offset) return false;
        RegisterProperties properties = scope.properties;
        ApplyProperties(chain, properties, path);
        if (properties.size < 1 || properties.size > 64) {
            Problem(element, path, ProblemCode::kOutOfRange, "size " + std::to_string(properties.size) + " is outside 1..64");
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
        out.description = Description(chain.Find(SvdTag::Description));
        out.readAction = Text(chain.Find(SvdTag::ReadAction));
        out.modifiedWriteValues = Text(chain.Find(SvdTag::ModifiedWriteValues));
        chain.CollectItems(SvdKind::Register, m_scratch);
        out.fieldElements = {static_cast<std::uint32_t>(m_items.size()), static_cast<std::uint32_t>(m_scratch.size())};
        m_items.insert(m_items.end(), m_scratch.begin(), m_scratch.end());
        out.hasFields = !m_scratch.empty();
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
            // An instance whose fields are not read again has the layout of one handed on before.
            const bool alike = fieldsClean;
            if (!fieldsClean) {
                const size_t problemsBefore = m_problems;
                PrepareFields(reg, registerPath);
                if (m_stopped) return false;
                fieldsClean = m_problems == problemsBefore;
            }
            label.assign(scope.prefix).append(reg.instances.Name(i));
            if (!TakeRows(reg.hasFields ? 1 : 2, reg.element, registerPath)) return false;
            if (!UniqueLabel(label, reg.element, registerPath)) return false;
            record.label = label;
            record.address = scope.base + reg.offset + i * reg.instances.increment;
            record.offset = record.address - scope.peripheralBase;
            record.layout = reg.layout;
            // The instances of an array share their macros; those of a list each have their own.
            m_cMacro.assign(scope.cMacro).append("_");
            const bool list = reg.name.find("%s") != std::string_view::npos && reg.name.find("[%s]") == std::string_view::npos;
            AppendCodeIdentifierPart(m_cMacro, list ? reg.instances.Name(i) : std::string_view(SvdNameWithoutDim(reg.name)));
            record.cMacro = m_cMacro;
            m_sink.Register(record);
            // When all of its field rows fit in the budget the instance's
            // fields can raise no problem, and the sink may make their rows
            // as it made those of the first instance of the layout, at once.
            if (alike && reg.fieldRows > 0 && reg.fieldRows <= m_limits.maxRows - m_rows &&
                m_sink.FieldsAlike(record, reg.fieldRows)) {
                m_rows += reg.fieldRows;
                continue;
            }
            for (const PreparedField& field : SpanOf(m_fields, reg.fields)) {
                if (m_stopped) return false;
                EmitField(field, registerPath, !readFields || i > 0);
            }
        }
        return fieldsClean;
    }

    // Makes `label` one no earlier register of the set has, so that each
    // label path names one register: a later one of the same label is given
    // a suffix, with a problem. False when the problem stopped the walk.
    bool UniqueLabel(std::string& label, SvdIndex element, const SvdPath& path) {
        std::optional<std::string> renamed = m_labels.Take(label);
        if (!renamed) return true;
        ++m_renames;
        Problem(element, path, ProblemCode::kDuplicateName,
                "register " + label + " duplicates an earlier register's path: named " + *renamed);
        label = std::move(*renamed);
        return !m_stopped;
    }

    void EmitField(const PreparedField& field, const SvdPath& registerPath, bool checkDim) {
        const SvdPath path{&registerPath, field.name};
        if (checkDim && !DimFits(field.instances, field.element, path)) return;
        SvdFieldRecord record;
        record.access = field.access;
        record.description = field.description;
        record.values = SpanOf(m_values, field.values);
        record.otherValues = SpanOf(m_otherValues, field.otherValues);
        record.readValues = SpanOf(m_values, field.readValues);
        record.readOtherValues = SpanOf(m_otherValues, field.readOtherValues);
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

    // Reads the fields of `reg`, the register read last, whose fields are
    // the last in the lists.
    void PrepareFields(PreparedRegister& reg, const SvdPath& registerPath) {
        if (!reg.fieldsRead) {
            reg.fieldsRead = true;
            reg.fields.first = static_cast<std::uint32_t>(m_fields.size());
            reg.valuesMark = static_cast<std::uint32_t>(m_values.size());
            reg.otherValuesMark = static_cast<std::uint32_t>(m_otherValues.size());
        }
        m_fields.erase(m_fields.begin() + reg.fields.first, m_fields.end());
        m_values.resize(reg.valuesMark);
        m_otherValues.resize(reg.otherValuesMark);
        reg.fieldRows = 0;
        reg.layout = ++m_layouts;
        for (const SvdIndex element : SpanOf(m_items, reg.fieldElements)) {
            if (m_stopped) break;
            PreparedField field;
            if (!PrepareField(element, reg, registerPath, field)) continue;
            reg.fieldRows += field.instances.Count();
            m_fields.push_back(std::move(field));
        }
        reg.fields.count = static_cast<std::uint32_t>(m_fields.size()) - reg.fields.first;
    }

    // The bit span a field gives in any of its three forms, or nothing with a problem.
    std::optional<SvdBitRange> SpanOfField(const SvdChain& chain, const SvdPath& path) {
        if (SvdIndex range = chain.Find(SvdTag::BitRange)) {
            const auto parsed = ParseSvdBitRange(Text(range));
            if (!parsed) Problem(range, path, ProblemCode::kBadValue, "bitRange is not [msb:lsb]: \"" + std::string(Text(range)) + '"');
            return parsed;
        }
        // Bit numbers beyond any register are cut here, so that sums cannot overflow.
        auto small = [](std::uint64_t value) { return static_cast<int>(std::min<std::uint64_t>(value, 1'000'000)); };
        const SvdIndex lsbNode = chain.Find(SvdTag::Lsb);
        const SvdIndex msbNode = chain.Find(SvdTag::Msb);
        if (lsbNode && msbNode) {
            const auto lsb = Number(lsbNode, path, "lsb");
            const auto msb = Number(msbNode, path, "msb");
            if (!lsb || !msb) return std::nullopt;
            return SvdBitRange{small(*msb), small(*lsb)};
        }
        if (SvdIndex offsetNode = chain.Find(SvdTag::BitOffset)) {
            const auto offset = Number(offsetNode, path, "bitOffset");
            if (!offset) return std::nullopt;
            std::uint64_t width = 1;
            if (SvdIndex widthNode = chain.Find(SvdTag::BitWidth)) {
                const auto value = Number(widthNode, path, "bitWidth");
                if (!value) return std::nullopt;
                width = *value;
            }
            if (width == 0) {
                Problem(chain.Element(), path, ProblemCode::kOutOfRange, "bitWidth is 0");
                return std::nullopt;
            }
            return SvdBitRange{small(*offset) + small(width) - 1, small(*offset)};
        }
        Problem(chain.Element(), path, ProblemCode::kMissingPart, "field has no bit range");
        return std::nullopt;
    }

    bool PrepareField(SvdIndex element, const PreparedRegister& reg, const SvdPath& registerPath, PreparedField& out) {
        SvdChain chain(m_document, element);
        const std::string_view name = Text(chain.Own(SvdTag::Name));
        out.name = name.empty() ? std::string_view("field") : name;
        const SvdPath path{&registerPath, out.name};
        if (!Begin(chain, SvdKind::Field, name, path, "field")) return false;
        const auto span = SpanOfField(chain, path);
        if (!span) return false;
        if (!InstancesOf(chain, element, name, path, out.instances)) return false;
        const std::uint64_t lastOffset = (out.instances.Count() - 1) * out.instances.increment;
        if (span->lsb > span->msb || span->msb > 63 || lastOffset > 63) {
            Problem(element, path, ProblemCode::kOutOfRange, "bit range [" + std::to_string(span->msb) + ":" + std::to_string(span->lsb) +
                                       "] is outside 0..63");
            return false;
        }
        if (span->msb + static_cast<int>(lastOffset) >= reg.bits) {
            Problem(element, path, ProblemCode::kOutOfRange, "bit range [" + std::to_string(span->msb + lastOffset) + ":" +
                                       std::to_string(span->lsb) + "] is beyond the " + std::to_string(reg.bits) +
                                       "-bit register");
            return false;
        }
        out.element = element;
        out.lsb = span->lsb;
        out.msb = span->msb;
        out.description = Description(chain.Find(SvdTag::Description));
        const SvdIndex accessNode = chain.Find(SvdTag::Access);
        out.access = accessNode ? Text(accessNode) : reg.access;
        out.readAction = Text(chain.Find(SvdTag::ReadAction));
        out.modifiedWriteValues = Text(chain.Find(SvdTag::ModifiedWriteValues));
        out.values.first = static_cast<std::uint32_t>(m_values.size());
        out.otherValues.first = static_cast<std::uint32_t>(m_otherValues.size());
        if (const SvdIndex values = m_derivation.ValuesOf(chain, path)) CollectNamedValues(values, path);
        out.values.count = static_cast<std::uint32_t>(m_values.size()) - out.values.first;
        out.otherValues.count = static_cast<std::uint32_t>(m_otherValues.size()) - out.otherValues.first;
        out.readValues.first = static_cast<std::uint32_t>(m_values.size());
        out.readOtherValues.first = static_cast<std::uint32_t>(m_otherValues.size());
        // Read names only beside write names: a field whose writes name nothing names its values once.
        if (out.values.count > 0) {
            if (const SvdIndex values = m_derivation.ReadValuesOf(chain, path)) CollectNamedValues(values, path);
        }
        out.readValues.count = static_cast<std::uint32_t>(m_values.size()) - out.readValues.first;
        out.readOtherValues.count = static_cast<std::uint32_t>(m_otherValues.size()) - out.readOtherValues.first;
        return true;
    }

    // The named values of an enumeratedValues block, and the names of its
    // "any other value" entries, appended to the lists.
    void CollectNamedValues(SvdIndex values, const SvdPath& path) {
        ForEachSvdItem(m_document, values, SvdKind::Values, [&](SvdIndex value) {
            const std::string_view name = m_document.ChildText(value, SvdTag::Name);
            if (IsTrue(m_document.ChildText(value, SvdTag::IsDefault))) {
                if (!name.empty()) m_otherValues.push_back(name);
                return;
            }
            const auto number = ParseSvdEnumValue(m_document.ChildText(value, SvdTag::Value));
            if (name.empty() || !number) {
                const SvdPath valuePath{&path, name.empty() ? std::string_view("enumeratedValue") : name};
                Problem(value, valuePath, ProblemCode::kMissingPart, name.empty() ? "enumeratedValue has no name" : "enumeratedValue has no value");
                return;
            }
            const SvdIndex description = m_document.Child(value, SvdTag::Description);
            m_values.push_back({name, description ? Description(description) : std::string_view(), *number});
        });
    }

    const SvdDocument& m_document;
    const SvdLines& m_lines;
    SvdRecordSink& m_sink;
    const SvdExpansionLimits m_limits;
    SvdDerivation m_derivation;
    std::uint64_t m_rows = 0;
    size_t m_problems = 0;
    std::uint64_t m_layouts = 0;
    size_t m_renames = 0;  // of the problems, those that renamed a register and left it in
    bool m_stopped = false;
    bool m_problemsStopped = false;  // the problem budget, not the rows, stopped the walk
    std::string_view m_cInstancePrefix;  // the device's headerDefinitionsPrefix
    std::string m_cMacro;                // reused for each register's
    CArena m_texts;                  // descriptions made one line and grouped names, kept as long as the expansion
    UniqueLabels m_labels;           // of the registers of the current peripheral instance
    // The readings of register elements, and by element the first of its
    // readings, counted from 1 (0: not read); each links to the next.
    std::vector<PreparedRegister> m_registers;
    ElementNumbers m_preparedOf;
    // What the readings hold, in lists shared by all of them.
    std::vector<SvdIndex> m_items;  // the field elements of each register
    std::vector<PreparedField> m_fields;
    std::vector<SvdNamedValueRecord> m_values;
    std::vector<std::string_view> m_otherValues;
    std::vector<SvdIndex> m_scratch;  // reused for collecting a register's field elements
};

}  // namespace

void ExpandSvdDevice(pugi::xml_node device, const SvdLines& lines, SvdRecordSink& sink, const SvdExpansionLimits& limits) {
    const SvdDocument document(device);
    SvdExpansion expansion(document, lines, sink, limits);
    expansion.Device();
}
