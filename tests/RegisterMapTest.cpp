// SPDX-License-Identifier: MIT
// The register map: what each loader enters for its registers, how values
// come in through the calculator, and a swap that exchanges whole maps.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bits/NumberFormatting.h"
#include "calc/RegisterCalculator.h"
#include "calc/RowDescriber.h"
#include "calc/ValuesInput.h"
#include "defs/DefinitionsLoader.h"
#include "defs/RegisterMap.h"
#include "defs/SvdLoader.h"
#include "tests/ChainedValueBox.h"
#include "tests/ExampleFiles.h"
#include "tree/PropTreeFilter.h"
#include "tree/PropTreeItemCombo.h"

namespace {

const CRegisterItem* RegisterNamed(const CRegisterMap& map, const std::string& set, const std::string& label) {
    for (const CRegisterItem* reg : map.Registers())
        if (reg->GetParent()->GetLabelText() == set && reg->GetLabelText() == label) return reg;
    return nullptr;
}

TEST(RegisterMap, AnSvdRegisterHoldsItsAddressAndResetValueAsItsValueFromTheFile) {
    CRegisterMap map;
    ASSERT_TRUE(LoadSvdText(map, ReadExampleFile("chip.svd"), "chip.svd").Ok());
    // Its own 78, then the Cortex-M4's that its <cpu> adds.
    ASSERT_EQ(map.Registers().size(), 78u + 404u);
    const struct {
        const char* set;
        const char* label;
        std::uint64_t address;
        std::uint64_t reset;
    } cases[] = {
        {"RCC", "CR", 0x40021000, 0x83},
        {"RCC", "RSTCAUSE", 0x40021024, 0x0c000000},
        {"GPIOA", "PINCFG[15]", 0x4800005c, 0x1},     // a dim array's last element
        {"DMA", "CH[1].CTRL", 0x4002001c, 0x200},     // a register of an arrayed cluster
    };
    for (const auto& c : cases) {
        const CRegisterItem* reg = RegisterNamed(map, c.set, c.label);
        ASSERT_NE(reg, nullptr) << c.label;
        EXPECT_EQ(map.AddressOf(*reg), c.address) << c.label;
        EXPECT_EQ(map.ResetValueOf(*reg), c.reset) << c.label;
        const auto value = map.ValueOf(*reg);
        ASSERT_TRUE(value) << c.label;
        EXPECT_EQ(value->value, c.reset) << c.label;
        EXPECT_EQ(value->source, ValueSource::File) << c.label;
    }
}

TEST(RegisterMap, TheCalculatorKeepsEachRegistersCurrentValueAndWhereItCameFrom) {
    CRegisterMap map;
    ASSERT_TRUE(LoadDefinitionsText(map, ReadExampleFile("tavlin.xml"), "tavlin.xml").Ok());
    ASSERT_FALSE(map.Registers().empty());
    CRegisterItem* reg = map.Registers().front();
    // A definitions file gives no address or reset value, and a register has
    // no value until its fields are first composed.
    EXPECT_EQ(map.AddressOf(*reg), std::nullopt);
    EXPECT_EQ(map.ResetValueOf(*reg), std::nullopt);
    EXPECT_EQ(map.ValueOf(*reg), std::nullopt);

    ChainedValueBox hex, decimal;
    CRegisterCalculator calc(map, hex, decimal);
    hex.onChange = [&calc] { calc.ApplyHexValue(); };
    map.Tree().SetFocusedItem(reg);
    calc.OnTreeSelChanged(reg);
    const std::uint64_t composed = calc.ComposeRegister(*reg);
    ASSERT_TRUE(map.ValueOf(*reg));
    EXPECT_EQ(map.ValueOf(*reg)->value, composed);
    EXPECT_EQ(map.ValueOf(*reg)->source, ValueSource::File);

    // Showing it again changes nothing; typing another number makes it typed.
    calc.OnTreeSelChanged(reg);
    EXPECT_EQ(map.ValueOf(*reg)->source, ValueSource::File);
    hex.SetText("0x5");
    EXPECT_EQ(map.ValueOf(*reg)->value, 5u);
    EXPECT_EQ(map.ValueOf(*reg)->source, ValueSource::Typed);
}

TEST(RegisterMap, SwapExchangesRowsFieldsAndRegistersWhole) {
    CRegisterMap shown, opened;
    LoadDefinitionsText(shown, ReadExampleFile("tavlin.xml"), "tavlin.xml");
    LoadSvdText(opened, ReadExampleFile("chip.svd"), "chip.svd");
    const auto shownRegisters = shown.Registers();
    const auto openedRegisters = opened.Registers();
    const std::size_t shownFields = shown.Fields().Size();
    const std::size_t openedFields = opened.Fields().Size();
    shown.Swap(opened);
    EXPECT_EQ(shown.Registers(), openedRegisters);
    EXPECT_EQ(opened.Registers(), shownRegisters);
    EXPECT_EQ(shown.Fields().Size(), openedFields);
    EXPECT_EQ(opened.Fields().Size(), shownFields);
    EXPECT_EQ(shown.Registers().front()->GetParent()->GetParent(), shown.Tree().GetRootItem());
    EXPECT_EQ(opened.Registers().front()->GetParent()->GetParent(), opened.Tree().GetRootItem());
}

TEST(RegisterMap, AddressesTakeTheMapsWidthWhereAMessagesLoneAddressTakesItsOwn) {
    const struct {
        std::uint64_t highest;  // the widest address the map holds
        std::uint64_t address;
        const char* inMap;
        const char* alone;
    } cases[] = {
        {0x40021000, 0x40021000, "0x40021000", "0x40021000"},
        {0x40021000, 0x1c, "0x0000001c", "0x0000001c"},
        {0x100000000, 0x1c, "0x000000000000001c", "0x0000001c"},  // one wide address widens every one
        {0x100000000, 0xfffffffff, "0x0000000fffffffff", "0x0000000fffffffff"},
    };
    for (const auto& c : cases) {
        CRegisterMap map;
        map.SetAddress(*map.AddRegister(map.Tree().GetRootItem()), c.highest);
        EXPECT_EQ(map.FormatAddressAtMapWidth(c.address), c.inMap) << c.address;
        EXPECT_EQ(FormatAddress(c.address), c.alone) << c.address;
    }
}

TEST(RegisterMap, FindTextsThatAreAddresses) {
    const struct {
        const char* text;
        std::optional<std::uint64_t> address;
    } cases[] = {
        {"0x40021000", 0x40021000}, {"0X4", 0x4}, {"40021004", 0x40021004}, {"4002100", std::nullopt},
        {"0x", std::nullopt},       {"0x1g", std::nullopt}, {"0x12345678abcdef01", 0x12345678abcdef01},
        {"0x12345678abcdef012", std::nullopt}, {"EN", std::nullopt}, {"deadbeef", 0xdeadbeef},
    };
    for (const auto& c : cases) EXPECT_EQ(FindTextAddress(c.text), c.address) << c.text;
}

// A find by address matches each register whose bytes hold it, by name as well.
TEST(RegisterMap, FindMatchesRegistersByTheirAddress) {
    CRegisterMap map;
    CRegisterRowDescriber describer(map);
    LoadSvdText(map, ReadExampleFile("chip.svd"), "chip.svd");
    const struct {
        const char* text;
        std::string matches;
    } cases[] = {
        {"0x40021000", "CR "},
        {"40021006", "CFGR "},         // inside the register's four bytes
        {"0x4002001C", "CH[1].CTRL "},
        {"0x40021003", "CR "},
        {"0x50000000", ""},
    };
    for (const auto& c : cases) {
        const CPropTreeFilter filter(*map.Tree().GetRootItem(), c.text, &describer);
        std::string matches;
        for (const CPropTreeItem* row : filter.Matches()) matches += std::string(row->GetLabelText()) + " ";
        EXPECT_EQ(matches, c.matches) << c.text;
    }
}

// A values text gives registers their values through the calculator: the
// register row shows the new value, and the register and the fields whose
// share differs from the baseline are marked changed.
TEST(RegisterMap, ValuesGivenShowInTheRegisterRowAndMarkWhatDiffers) {
    CRegisterMap map;
    CRegisterRowDescriber describer(map);
    LoadSvdText(map, ReadExampleFile("chip.svd"), "chip.svd");
    ChainedValueBox hex, decimal;
    CRegisterCalculator calc(map, hex, decimal);
    hex.onChange = [&calc] { calc.ApplyHexValue(); };

    // UART1.CTRL resets to 0: EN [0] and TXPAR [3:2] change, IFCR does not exist there.
    const ValuesInputReport report = ApplyValuesText(map, calc, "0x40004800: 00000001\n", ValueSource::ValuesFile);
    EXPECT_TRUE(report.problems.Empty());
    ASSERT_EQ(report.given.size(), 1u);
    CRegisterItem& uart = *report.given[0];
    EXPECT_EQ(RegisterPath(uart), "UART1.CTRL");
    EXPECT_EQ(uart.GetAttributeText(), "0x00000001");
    EXPECT_EQ(map.ValueOf(uart)->source, ValueSource::ValuesFile);
    EXPECT_TRUE(describer.Describe(uart).changed);
    const struct {
        const char* field;
        bool changed;
    } fields[] = {{"EN", true}, {"TXPAR", false}};
    for (const auto& f : fields) {
        const CPropTreeItem* row = uart.GetChild();
        while (row && std::string(row->GetLabelText()) != f.field) row = row->GetSibling();
        ASSERT_NE(row, nullptr) << f.field;
        EXPECT_EQ(describer.Describe(*row).changed, f.changed) << f.field;
    }
    // Compared with a baseline that has the same value, nothing is changed.
    map.SetBaseline(uart, 1);
    EXPECT_FALSE(describer.Describe(uart).changed);
    map.ClearBaselines();
    EXPECT_TRUE(describer.Describe(uart).changed);

    // The register in hand takes a value as typed, through the hex box.
    map.Tree().SetFocusedItem(&uart);
    calc.SetRegisterValue(uart, 0xd, ValueSource::Target);
    EXPECT_EQ(hex.text, "0x0000000d");
    EXPECT_EQ(decimal.text, "13");
    EXPECT_EQ(map.ValueOf(uart)->source, ValueSource::Target);
    EXPECT_EQ(uart.GetChild()->GetSibling()->GetAttributeText(), "Odd");
}

// The find's rules read plainly, row by row, to hold the filter to: a row
// matches when its label or a named value holds the text (ASCII letters in
// either case) or it is a register holding the address; with "Changed only"
// only changed rows match, where they or a row above match the text. A
// matching row shows all the rows below it (only the changed ones with
// "Changed only"); a row with a match below shows and is expanded.
struct PlainFind {
    std::string needle;
    std::optional<std::uint64_t> address;
    const CPropTreeDescriber& describer;
    bool changedOnly;
    std::string shown;  // one label a line, indented by depth, matches marked '*'
    std::vector<const CPropTreeItem*> matches;
    std::vector<const CPropTreeItem*> ancestors;

    static std::string Lower(std::string_view text) {
        std::string lower(text);
        for (char& c : lower)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return lower;
    }
    bool TextMatches(const CPropTreeItem& row) const {
        if (Lower(row.GetLabelText()).find(Lower(needle)) != std::string::npos) return true;
        if (address && row.GetKind() == PropRowKind::Static && describer.HoldsAddress(row, *address)) return true;
        if (row.GetKind() != PropRowKind::Combo) return false;
        for (const auto& entry : static_cast<const CPropTreeItemCombo&>(row).GetAllEntries())
            if (Lower(entry.label.c_str()).find(Lower(needle)) != std::string::npos) return true;
        return false;
    }
    static std::string Line(const CPropTreeItem& row, int depth, bool match) {
        return std::string(static_cast<size_t>(depth) * 2, ' ') + row.GetLabelText() + (match ? "*" : "") + "\n";
    }
    void Whole(const CPropTreeItem& row, int depth, std::string& out) {
        const bool match = TextMatches(row);
        if (match) matches.push_back(&row);
        out += Line(row, depth, match);
        for (int i = 0; i < row.GetChildCount(); ++i) Whole(*row.GetChildAt(i), depth + 1, out);
    }
    bool Visit(const CPropTreeItem& row, bool keepAll, int depth, std::string& out) {
        const bool text = TextMatches(row);
        const bool changed = row.GetKind() != PropRowKind::Plain && describer.IsChanged(row);
        const bool match = changedOnly ? (keepAll || text) && changed : text;
        if (match) matches.push_back(&row);
        if (!changedOnly && match) {
            out += Line(row, depth, true);
            for (int i = 0; i < row.GetChildCount(); ++i) Whole(*row.GetChildAt(i), depth + 1, out);
            return true;
        }
        const std::size_t place = ancestors.size();
        ancestors.push_back(&row);
        std::string below;
        bool any = false;
        for (int i = 0; i < row.GetChildCount(); ++i)
            any = Visit(*row.GetChildAt(i), keepAll || (changedOnly && text), depth + 1, below) || any;
        if (!any) ancestors.erase(ancestors.begin() + static_cast<std::ptrdiff_t>(place));
        if (!any && !match) return false;
        out += Line(row, depth, match) + below;
        return true;
    }
};

// The shown tree as the filter tells it, in PlainFind's form.
std::string ShownBy(const CPropTreeFilter& filter, const CPropTreeItem& parent, int depth = 0) {
    std::string text;
    for (int row = 0; row < filter.ChildCount(parent); ++row) {
        const CPropTreeItem* child = filter.ChildAt(parent, row);
        bool match = false;
        for (const CPropTreeItem* m : filter.Matches()) match = match || m == child;
        text += PlainFind::Line(*child, depth, match) + ShownBy(filter, *child, depth + 1);
    }
    return text;
}

// Over the example SVD file with a changed register, texts by name, by named
// value and by address, with "Changed only" and without: the filter shows,
// lists and expands what the rules read plainly do.
TEST(RegisterMap, FindShowsWhatItsRulesReadPlainlyShow) {
    CRegisterMap map;
    CRegisterRowDescriber describer(map);
    LoadSvdText(map, ReadExampleFile("chip.svd"), "chip.svd");
    ChainedValueBox hex, decimal;
    CRegisterCalculator calc(map, hex, decimal);
    hex.onChange = [&calc] { calc.ApplyHexValue(); };
    // UART1.CTRL's EN and RCC.CR's HSION change.
    ASSERT_TRUE(ApplyValuesText(map, calc, "0x40004800: 00000001\n0x40021000: 00000082\n", ValueSource::ValuesFile)
                    .problems.Empty());
    const CPropTreeItem& root = *map.Tree().GetRootItem();
    for (const bool changedOnly : {false, true})
        for (const char* text : {"", "e", "EN", "cr", "uart", "uart1", "ctrl", "hsi", "odd", "0x40021000", "40021004",
                                 "0x4002001C", "0x40004800", "x", "zzz"}) {
            PlainFind plain{text, FindTextAddress(text), describer, changedOnly, {}, {}, {}};
            for (int i = 0; i < root.GetChildCount(); ++i) plain.Visit(*root.GetChildAt(i), false, 0, plain.shown);
            const CPropTreeFilter filter(*map.Tree().GetRootItem(), text, &describer, changedOnly);
            const std::string name = std::string("\"") + text + (changedOnly ? "\" changed only" : "\"");
            EXPECT_EQ(ShownBy(filter, root), plain.shown) << name;
            EXPECT_EQ(std::vector<const CPropTreeItem*>(filter.Matches().begin(), filter.Matches().end()),
                      plain.matches)
                << name;
            EXPECT_EQ(std::vector<const CPropTreeItem*>(filter.Ancestors().begin(), filter.Ancestors().end()),
                      plain.ancestors)
                << name;
        }
}

}  // namespace
