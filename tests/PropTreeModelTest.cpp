// SPDX-License-Identifier: MIT
// The tree's item model under Qt's own model checker: every change a user or
// a load makes must keep the model consistent, in fatal mode (a fault aborts).
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QTreeView>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "calc/RegisterCalculator.h"
#include "calc/RowDescriber.h"
#include "defs/DefinitionsLoader.h"
#include "defs/FieldTable.h"
#include "defs/RegisterMap.h"
#include "defs/SvdLoader.h"
#include "tests/ChainedValueBox.h"
#include "tests/ExampleFiles.h"
#include "tests/RowPath.h"
#include "tree/PropTree.h"
#include "tree/PropTreeFilter.h"
#include "tree/PropTreeModel.h"

namespace {

// A definitions file of `sets` sets of 10 registers of 10 fields, every
// third a drop-down.
std::string GeneratedDefinitions(int sets) {
    std::string text = "<tavlin>\n";
    for (int s = 0; s < sets; ++s) {
        text += "<regset name=\"S" + std::to_string(s) + "\" info=\"set\">\n";
        for (int r = 0; r < 10; ++r) {
            text += "<register name=\"R" + std::to_string(r) + "\" bits=\"32\" value=\"0\" info=\"reg\">\n";
            for (int f = 0; f < 10; ++f) {
                const std::string bits = "low=\"" + std::to_string(f * 3) + "\" high=\"" + std::to_string(f * 3 + 2) + "\"";
                if (f % 3 == 0)
                    text += "<field name=\"F\" kind=\"combo\" info=\"f\" " + bits +
                            "><select name=\"A\" value=\"0\"/><select name=\"B\" value=\"5\"/></field>\n";
                else
                    text += "<field name=\"F\" kind=\"edit\" info=\"f\" " + bits + "></field>\n";
            }
            text += "</register>\n";
        }
        text += "</regset>\n";
    }
    return text + "</tavlin>\n";
}

enum class Format { Definitions, Svd };

struct ModelCase {
    const char* name;
    Format format;
    std::string text;
};

void Load(CRegisterMap& map, const ModelCase& c) {
    if (c.format == Format::Svd)
        LoadSvdText(map, c.text, c.name);
    else
        LoadDefinitionsText(map, c.text, c.name);
}

// The first field row of the tree, and its register.
CPropTreeItem* FirstField(CPropTree& tree) {
    for (CPropTreeItem* set = tree.GetRootItem()->GetChild(); set; set = set->GetSibling())
        for (CPropTreeItem* reg = set->GetChild(); reg; reg = reg->GetSibling())
            if (CPropTreeItem* field = reg->GetChild()) return field;
    return nullptr;
}

class ModelTesterTest : public testing::TestWithParam<ModelCase> {};

TEST_P(ModelTesterTest, StaysConsistentThroughLoadsExpandingEditsAndDecomposition) {
    const ModelCase& c = GetParam();
    CRegisterMap map;
    CPropTree& tree = map.Tree();
    CPropTreeModel model(tree);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QTreeView view;
    view.setModel(&model);

    // Rows inserted one by one (the checker looks at the whole model after
    // each, so only for the small files), then a load as one reset, as the window does it.
    if (c.format == Format::Svd || c.text.size() < 100'000) {
        Load(map, c);
    } else {
        tree.BeginReset();
        Load(map, c);
        tree.EndReset();
    }
    CRegisterMap second;
    Load(second, c);
    map.Swap(second);
    view.expandAll();
    ASSERT_GT(model.rowCount(), 0);

    CPropTreeItem* field = FirstField(tree);
    ASSERT_NE(field, nullptr);
    const QModelIndex value = model.IndexFromItem(field, CPropTreeModel::ValueColumn);
    ASSERT_TRUE(value.flags() & Qt::ItemIsEditable);
    const QVariant edited = field->GetKind() == PropRowKind::Combo ? QVariant::fromValue<qint64>(0) : QVariant("0x1");
    EXPECT_TRUE(model.setData(value, edited, Qt::EditRole));

    ChainedValueBox hex, decimal;
    CRegisterCalculator calc(map, hex, decimal);
    hex.onChange = [&calc] { calc.ApplyHexValue(); };
    tree.SetFocusedItem(field);
    hex.SetText("0xffffffff");
    EXPECT_EQ(decimal.text, "4294967295");

    // A child index asked for below the value column is no index, as its row count is 0.
    const QModelIndex setValue = model.index(0, CPropTreeModel::ValueColumn);
    EXPECT_EQ(model.rowCount(setValue), 0);
    EXPECT_FALSE(model.index(0, 0, setValue).isValid());
}

INSTANTIATE_TEST_SUITE_P(Files, ModelTesterTest,
                         testing::Values(ModelCase{"tavlin.xml", Format::Definitions, ReadExampleFile("tavlin.xml")},
                                         ModelCase{"chip.svd", Format::Svd, ReadExampleFile("chip.svd")},
                                         ModelCase{"generated", Format::Definitions, GeneratedDefinitions(200)}),
                         [](const testing::TestParamInfo<ModelCase>& info) {
                             return std::string(info.param.name == std::string("tavlin.xml") ? "Definitions"
                                                : info.param.format == Format::Svd ? "Svd"
                                                                                   : "Generated20000Fields");
                         });

TEST(ModelTester, DropDownRowsHandTheirNamedValuesToEditorsAsARole) {
    CRegisterMap map;
    CPropTree& tree = map.Tree();
    CPropTreeModel model(tree);
    LoadSvdText(map, ReadExampleFile("chip.svd"), "chip.svd");
    bool sawChoices = false;
    for (CPropTreeItem* set = tree.GetRootItem()->GetChild(); set && !sawChoices; set = set->GetSibling())
        for (CPropTreeItem* reg = set->GetChild(); reg && !sawChoices; reg = reg->GetSibling())
            for (CPropTreeItem* row = reg->GetChild(); row && !sawChoices; row = row->GetSibling()) {
                const QVariant choices = model.IndexFromItem(row, CPropTreeModel::ValueColumn).data(CPropTreeModel::ChoicesRole);
                if (row->GetKind() != PropRowKind::Combo) {
                    EXPECT_FALSE(choices.isValid());
                    continue;
                }
                const auto list = choices.value<QList<PropTreeChoice>>();
                ASSERT_FALSE(list.isEmpty());
                sawChoices = true;
            }
    EXPECT_TRUE(sawChoices);
}

// The bits column shows each register's width and each field's span, with
// "RO"/"WO" where the file marks the bits so; the access is a role the
// delegate draws with.
TEST(ModelTester, BitsColumnShowsWidthsSpansAndAccess) {
    CRegisterMap map;
    CPropTree& tree = map.Tree();
    CRegisterRowDescriber describer(map);
    tree.SetDescriber(&describer);
    CPropTreeModel model(tree);
    LoadSvdText(map, ReadExampleFile("chip.svd"), "chip.svd");
    EXPECT_EQ(model.headerData(CPropTreeModel::BitsColumn, Qt::Horizontal).toString(), "Bits");
    EXPECT_EQ(model.headerData(CPropTreeModel::ValueColumn, Qt::Horizontal).toString(), "Value");
    auto bits = [&](const std::vector<std::string>& path) {
        CPropTreeItem* row = FindRow(tree, path);
        if (!row) return std::string("(no row)");
        return model.IndexFromItem(row, CPropTreeModel::BitsColumn).data().toString().toStdString();
    };
    struct Case {
        std::vector<std::string> path;
        std::string bits;
    } cases[] = {
        {{"RCC"}, ""},
        {{"RCC", "CR"}, "32 bits"},
        {{"RCC", "CR", "HSION"}, "0"},
        {{"RCC", "CR", "HSITRIM"}, "7:3"},
        {{"RCC", "CR", "HSIRDY"}, "1 RO"},
        {{"GPIOA", "BSRR", "BR"}, "31:16 WO"},
        {{"ADC", "CTRL"}, "16 bits"},
    };
    for (const Case& c : cases) EXPECT_EQ(bits(c.path), c.bits) << c.path.back();
}

// The address column: a register's absolute address, a set's base address,
// nothing for fields and for files without addresses.
TEST(ModelTester, AddressColumnShowsRegisterAndSetAddresses) {
    const struct {
        const char* file;
        std::vector<std::string> path;
        const char* address;
    } cases[] = {
        {"chip.svd", {"RCC"}, "0x40021000"},
        {"chip.svd", {"RCC", "CFGR"}, "0x40021004"},
        {"chip.svd", {"RCC", "CR", "HSION"}, ""},
        {"chip.svd", {"DMA", "CH[1].CTRL"}, "0x4002001c"},
        {"tavlin.xml", {"RCC"}, ""},
    };
    for (const auto& c : cases) {
        CRegisterMap map;
        CRegisterRowDescriber describer(map);
        map.Tree().SetDescriber(&describer);
        CPropTreeModel model(map.Tree());
        if (std::string(c.file) == "chip.svd")
            LoadSvdText(map, ReadExampleFile(c.file), c.file);
        else
            LoadDefinitionsText(map, ReadExampleFile(c.file), c.file);
        EXPECT_EQ(describer.HasAddresses(), std::string(c.file) == "chip.svd");
        EXPECT_EQ(model.headerData(CPropTreeModel::AddressColumn, Qt::Horizontal).toString(), "Address");
        CPropTreeItem* row = FindRow(map.Tree(), c.path);
        ASSERT_NE(row, nullptr) << c.path.back();
        EXPECT_EQ(model.IndexFromItem(row, CPropTreeModel::AddressColumn).data().toString().toStdString(), c.address)
            << c.path.back();
    }
}

// Every index the model gives under a find, walked from the top: made again
// from its row it is the same index, and it says it has no children
// exactly when its row has none.
void CheckShownIndexes(const CPropTreeModel& model, const QModelIndex& parent, const std::string& text) {
    for (int row = 0; row < model.rowCount(parent); ++row) {
        for (int column = 0; column < CPropTreeModel::ColumnCount; ++column) {
            const QModelIndex index = model.index(row, column, parent);
            CPropTreeItem* item = model.ItemFromIndex(index);
            ASSERT_NE(item, nullptr) << text;
            EXPECT_EQ(model.IndexFromItem(item, column), index) << text << ": " << item->GetLabelText();
            EXPECT_EQ(bool(model.flags(index) & Qt::ItemNeverHasChildren), item->GetChildCount() == 0)
                << text << ": " << item->GetLabelText();
            EXPECT_EQ(model.parent(index), parent) << text << ": " << item->GetLabelText();
        }
        CheckShownIndexes(model, model.index(row, 0, parent), text);
    }
}

// Finds one after another under the model checker, each shown in a view with
// its rows to expand expanded: the indexes of those rows, made without
// looking them up, are those IndexFromItem gives; no find leaves an index of
// the one before behind.
TEST(ModelTester, StaysConsistentThroughFinds) {
    for (const char* file : {"tavlin.xml", "chip.svd"}) {
        CRegisterMap map;
        CPropTree& tree = map.Tree();
        CRegisterRowDescriber describer(map);
        tree.SetDescriber(&describer);
        CPropTreeModel model(tree);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        QTreeView view;
        view.setModel(&model);
        Load(map, ModelCase{file, std::string(file) == "chip.svd" ? Format::Svd : Format::Definitions,
                            ReadExampleFile(file)});
        const struct {
            const char* text;
            bool changedOnly;
        } finds[] = {{"e", false},   {"en", false}, {"cr1", false}, {"", false},   {"0x40021000", false},
                     {"zzz", false}, {"", true},    {"c", true},    {"rcc", false}, {"", false}};
        for (const auto& find : finds) {
            const std::string text = std::string(file) + " \"" + find.text + (find.changedOnly ? "\" changed" : "\"");
            model.SetFilter(find.text, find.changedOnly);
            const CPropTreeFilter* filter = model.Filter();
            ASSERT_EQ(filter != nullptr, *find.text || find.changedOnly) << text;
            if (filter) {
                for (std::size_t i = 0; i < filter->Ancestors().size(); ++i) {
                    const QModelIndex index = model.AncestorIndex(i);
                    EXPECT_EQ(index, model.IndexFromItem(filter->Ancestors()[i])) << text;
                    view.expand(index);
                }
                EXPECT_FALSE(model.AncestorIndex(filter->Ancestors().size()).isValid()) << text;
            }
            view.doItemsLayout();
            for (const CPropTreeItem* row : filter ? filter->Ancestors() : std::vector<CPropTreeItem*>{})
                EXPECT_TRUE(view.isExpanded(model.IndexFromItem(const_cast<CPropTreeItem*>(row)))) << text;
            CheckShownIndexes(model, QModelIndex(), text);
        }
    }
}

// The rows laid out for finds go when the rows change: a row added after
// they were laid out is found.
TEST(ModelTester, RowsLaidOutForFindsGoWhenRowsChange) {
    CRegisterMap map;
    CPropTree& tree = map.Tree();
    CPropTreeModel model(tree);
    LoadDefinitionsText(map, ReadExampleFile("tavlin.xml"), "tavlin.xml");
    model.PrepareFinds();
    ASSERT_NE(model.FindIndex(), nullptr);
    model.SetFilter("uart");
    const CPropTreeFindIndex* laidOut = model.FindIndex();
    EXPECT_NE(laidOut, nullptr);
    model.EndFinds();
    EXPECT_EQ(model.FindIndex(), laidOut) << "kept while a find shows its rows";

    CPropTreeItem* added = tree.NewItem<CPropTreeItem>(FindRow(tree, {"RCC"}));
    added->SetLabelText("ADDED_LATER");
    EXPECT_EQ(model.Filter(), nullptr) << "the find is over";
    EXPECT_EQ(model.FindIndex(), nullptr);
    model.SetFilter("added_later");
    ASSERT_NE(model.Filter(), nullptr);
    ASSERT_EQ(model.Filter()->Matches().size(), 1u);
    EXPECT_EQ(model.Filter()->Matches()[0], added);

    model.SetFilter({});
    model.EndFinds();
    EXPECT_EQ(model.FindIndex(), nullptr) << "given back once no find shows";
    model.PrepareFinds();
    CRegisterMap other;
    LoadDefinitionsText(other, ReadExampleFile("tavlin.xml"), "tavlin.xml");
    map.Swap(other);
    EXPECT_EQ(model.FindIndex(), nullptr) << "after a swap of all rows";
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
