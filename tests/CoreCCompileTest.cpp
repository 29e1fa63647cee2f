// SPDX-License-Identifier: MIT
// The statements of the core registers compile against the names the core's
// CMSIS-Core header (core_cm0.h, core_cm3.h, ...) declares for them: for each
// core below, every register of its core map (the read-only ones too: their
// names must compile), each given a value with every bit set (so every field
// has a share), is compiled with the C compiler against a header of our own
// generated here: a struct a set with one member a register, named, indexed
// and placed in the struct as that header has it, and the _Pos/_Msk pair of
// each field that header has a macro for, as it spells it. The program checks
// each register's value through its member as the header spells it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "bits/BitArithmetic.h"
#include "calc/CodeStatement.h"
#include "defs/CoreRegisters.h"
#include "defs/LoadReport.h"
#include "defs/RegisterMap.h"
#include "tests/CCompiler.h"
#include "tests/TempDir.h"

namespace {

// A register the header names otherwise than the core map: by set and
// register name ("FUNCTION" matching FUNCTION0 and the rest when numbered).
struct HeaderName {
    const char* set;
    const char* reg;
    bool numbered;
    const char* member;    // nullptr: the map's name
    const char* macro;     // nullptr: SET_MEMBER
    const char* instance;  // nullptr: the map's set
};

// What one core's header declares for the core map's registers, as facts.
struct CoreHeader {
    const char* core;
    std::vector<HeaderName> names;
    std::set<std::string> noMacro;  // field macros of the map's fields the header does not define
    std::map<std::string, std::string> spelled = {};  // the map's field macro: the header's
    std::set<std::string> lacking = {};  // "SET.REG" the header declares no member for
};

const std::vector<HeaderName> kArmv7MNames = {
    {"MPU", "RBAR_A", true, nullptr, "MPU_RBAR", nullptr},
    {"MPU", "RASR_A", true, nullptr, "MPU_RASR", nullptr},
    {"DWT", "MASK", true, nullptr, "DWT_MASK", nullptr},
    {"DWT", "FUNCTION", true, nullptr, "DWT_FUNCTION", nullptr},
};
// Armv8-M's headers call the NMI pend bit PENDNMISET.
const std::map<std::string, std::string> kArmv8MSpelled = {{"SCB_ICSR_NMIPENDSET", "SCB_ICSR_PENDNMISET"}};
const std::set<std::string> kArmv7MNoMacro = {"SCB_MMFAR_ADDRESS", "SCB_BFAR_ADDRESS", "SCB_CPACR_CP10",
                                              "SCB_CPACR_CP11",    "ITM_TER_STIMENA",  "ITM_PORT_FIFOREADY"};

std::set<std::string> With(std::set<std::string> names, std::initializer_list<const char*> more) {
    names.insert(more.begin(), more.end());
    return names;
}

std::vector<HeaderName> WithNames(std::vector<HeaderName> names, std::initializer_list<HeaderName> more) {
    names.insert(names.end(), more.begin(), more.end());
    return names;
}

const std::vector<CoreHeader>& Cores() {
    static const std::vector<CoreHeader> cores = {
        {"CM0", {}, {}},
        {"CM3", kArmv7MNames,
         With(kArmv7MNoMacro, {"SCB_CCR_DC", "SCB_CCR_IC", "SCB_CCR_BP", "SCB_CFSR_MLSPERR", "SCB_CFSR_LSPERR"})},
        // The Cortex-M4's FPU has no MVFR2: its header declares none.
        {"CM4", kArmv7MNames, With(kArmv7MNoMacro, {"SCB_CCR_DC", "SCB_CCR_IC", "SCB_CCR_BP"}), {}, {"FPU.MVFR2"}},
        {"CM7",
         WithNames(kArmv7MNames, {{"SCB", "SHP", false, "SHPR", nullptr, nullptr},
                                  {"SCB", "PFR", false, "ID_PFR", nullptr, nullptr},
                                  {"SCB", "DFR", false, "ID_DFR", nullptr, nullptr},
                                  {"SCB", "ADR", false, "ID_AFR", nullptr, nullptr},
                                  {"SCB", "MMFR", false, "ID_MFR", nullptr, nullptr},
                                  {"SCB", "ISAR", false, "ID_ISAR", nullptr, nullptr}}),
         With(kArmv7MNoMacro, {"FPU_MVFR2_VFP_Misc"})},
        {"CM23", {{"DWT", "FUNCTION", true, nullptr, "DWT_FUNCTION", nullptr}}, {}, kArmv8MSpelled},
        // MVFR2 is not in its FPU_Type but in its SCB_Type
        {"CM33",
         {{"MPU", "RBAR_A", true, nullptr, "MPU_RBAR", nullptr},
          {"MPU", "RLAR_A", true, nullptr, "MPU_RLAR", nullptr},
          {"DWT", "FUNCTION", true, nullptr, "DWT_FUNCTION", nullptr},
          {"ITM", "PORT", false, nullptr, "ITM_STIM", nullptr},
          {"FPU", "MVFR2", false, nullptr, nullptr, "SCB"}},
         {"SCB_MMFAR_ADDRESS", "SCB_BFAR_ADDRESS", "SCB_CPACR_CP10", "SCB_CPACR_CP11", "ITM_TER_STIMENA",
          "FPU_MVFR2_VFP_Misc"},
         kArmv8MSpelled},
    };
    return cores;
}

std::string_view WithoutIndex(std::string_view label) { return label.substr(0, std::min(label.find('['), label.size())); }

const HeaderName* NameOf(const CoreHeader& core, std::string_view set, std::string_view reg) {
    for (const HeaderName& n : core.names) {
        if (set != n.set) continue;
        const std::string_view base = n.reg;
        if (n.numbered ? reg.starts_with(base) && reg.size() > base.size() : reg == base) return &n;
    }
    return nullptr;
}

// One struct member: a register, or an array of them.
struct Member {
    std::string name;
    int bits = 32;
    int count = 0;  // 0: not an array
};

// The header and the program for one core's map.
struct CoreProgram {
    std::string header;
    std::string statements;
    std::string checks;
    int registers = 0;
};

CoreProgram Generate(const CRegisterMap& map, const CoreHeader& core) {
    std::map<std::string, std::vector<Member>> sets;  // by set name, the members in map order
    std::vector<std::string> setOrder;
    std::map<std::string, std::pair<int, std::uint64_t>> macros;  // name: position, mask
    CoreProgram out;
    for (std::size_t i = 0; i < map.Registers().size(); ++i) {
        const CRegisterItem& reg = *map.Registers()[i];
        const std::string set = reg.GetParent()->GetLabelText();
        const std::string label = reg.GetLabelText();
        const std::string base(WithoutIndex(label));
        if (core.lacking.count(set + "." + base)) {
            // Told as a comment, which any compiler takes; nothing to check.
            EXPECT_EQ(CodeStatement(map, i, 0).rfind("// ", 0), 0u) << set << "." << label;
            out.statements += "    " + CodeStatement(map, i, 0) + "\n";
            continue;
        }
        const HeaderName* name = NameOf(core, set, base);
        const std::string member = name && name->member ? name->member : base;
        const std::string stem = name && name->macro ? std::string(name->macro) : set + "_" + member;
        const std::string instance = name && name->instance ? name->instance : set;
        if (!sets.count(instance)) setOrder.push_back(instance);
        std::vector<Member>& members = sets[instance];
        if (members.empty() || members.back().name != member || label == base)
            members.push_back({member, reg.m_nBits, label == base ? 0 : 1});
        else
            ++members.back().count;
        // A register without field elements in its core map has no macros.
        for (const CPropTreeItem* row = HasCodeFieldMacros(map, i) ? reg.GetChild() : nullptr; row; row = row->GetSibling()) {
            const FieldSpan* span = map.Fields().Find(row);
            if (!span) continue;
            std::string macro = stem + "_" + row->GetLabelText();
            if (core.noMacro.count(macro)) continue;
            if (const auto spelled = core.spelled.find(macro); spelled != core.spelled.end()) macro = spelled->second;
            macros[macro] = {span->nLowBit, FieldPlacement(span->nLowBit, span->nHighBit)};
        }
        const std::uint64_t value = FieldMask(0, reg.m_nBits - 1);
        std::string lhs = instance + "->" + member + label.substr(base.size());
        if (set == "ITM" && base == "PORT") lhs += ".u32";
        out.statements += "    " + CodeStatement(map, i, value) + "\n";
        out.checks += "    CHECK(" + lhs + ", " + std::to_string(value) + "ULL);\n";
        ++out.registers;
    }
    for (const std::string& set : setOrder) {
        out.header += "typedef struct {\n";
        for (const Member& m : sets[set]) {
            const std::string type = "uint" + std::to_string(m.bits) + "_t";
            const std::string count = m.count ? "[" + std::to_string(m.count) + "]" : "";
            if (set == "ITM" && m.name == "PORT")
                out.header += "    volatile union { uint8_t u8; uint16_t u16; uint32_t u32; } PORT" + count + ";\n";
            else
                out.header += "    volatile " + type + " " + m.name + count + ";\n";
        }
        out.header += "} " + set + "_Type;\n" + set + "_Type " + set + "_object;\n#define " + set + " (&" + set +
                      "_object)\n";
    }
    for (const auto& [name, placement] : macros) {
        out.header += "#define " + name + "_Pos " + std::to_string(placement.first) + "U\n";
        out.header += "#define " + name + "_Msk " + std::to_string(placement.second) + "UL\n";
    }
    return out;
}

TEST(CoreCCompile, EachCoresStatementsCompileAgainstItsHeadersNamesAndGiveEachValue) {
    if (!HasCCompiler()) GTEST_SKIP() << "no C compiler (cc)";
    for (const CoreHeader& core : Cores()) {
        SCOPED_TRACE(core.core);
        CRegisterMap map;
        LoadReport report;
        const CoreInfo* info = FindCore(core.core);
        ASSERT_NE(info, nullptr);
        ASSERT_GT(AddCoreRegisters(map, *info, report), 0);
        const CoreProgram program = Generate(map, core);
        EXPECT_GT(program.registers, 20);
        const TempDir dir;
        const CRun run =
            CompileAndRun(dir, CheckingProgram("#include <stdint.h>\n" + program.header, program.statements, program.checks));
        ASSERT_TRUE(run.compiled) << run.log.substr(0, 4000);
        EXPECT_EQ(run.status, 0) << run.output.substr(0, 4000);
        EXPECT_EQ(run.output, "every value\n");
    }
}

}  // namespace
