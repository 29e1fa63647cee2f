// SPDX-License-Identifier: MIT
// Opening a register file in the main window: named on the command line,
// chosen with Open... (or Ctrl+O), or dropped on the window.
#include <gtest/gtest.h>

#include <QAction>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include "framework/FileDialog.h"
#include "framework/Menu.h"
#include "res/resource.h"
#include "tests/GuiHarness.h"
#include "tests/MessageRecorder.h"
#include "tests/DragAndDrop.h"
#include "tests/ExampleFiles.h"
#include "tests/TempDir.h"
#include "ui/AppSettings.h"
#include "tree/PropTreeModel.h"

namespace {

const char* const kStart = R"(<tavlin><regset n="Start" d="s">
<register n="R0" w="8" v="0" d="r"><field n="F" k="edit" d="f" l="0" h="7"></field></register></regset></tavlin>)";
const char* const kOther = R"(<tavlin><regset n="Timers" d="t">
<register n="CTRL" w="16" v="0" d="c"><field n="EN" k="edit" d="e" l="0" h="1"></field></register></regset>
<regset n="Uart" d="u"></regset></tavlin>)";
const std::vector<std::string> kStartSets{"Start"}, kOtherSets{"Timers", "Uart"};
const std::string kDash = " \xE2\x80\x94 ";

std::string Caption(CRegisterDlg& dlg) { return dlg.m_hWnd->windowTitle().toStdString(); }
std::string Text(QLineEdit* box) { return box->text().toStdString(); }

// The labels of the top-level rows the view shows.
std::vector<std::string> ShownSets(CRegisterDlg& dlg) {
    const CPropTreeModel* model = TreeWindow(dlg)->Model();
    std::vector<std::string> labels;
    for (int row = 0; row < model->rowCount(); ++row) labels.push_back(model->index(row, 0).data().toString().toStdString());
    return labels;
}

// Answers the file dialog with `path` from now on in this run, counting the questions.
void ChooseFile(const std::string& path, int* asked = nullptr) {
    CFileDialog::SetChooser([&path, asked](const CFileDialog& dialog) {
        EXPECT_EQ(dialog.GetFilter().str(), "Register files (*.svd *.xml);;CMSIS packs (*.pack *.pdsc);;All files (*)");
        EXPECT_NE(dialog.GetParent(), nullptr);
        if (asked) ++*asked;
        return path;
    });
}

void SelectRow(CRegisterDlg& dlg, const std::vector<std::string>& path) {
    TreeWindow(dlg)->View()->expandAll();
    ClickRow(dlg, FindRow(dlg.Tree(), path));
}

TEST(GuiOpenFile, ANamedFileOpensAtStartInsteadOfTavlinXml) {
    TempDir dir;
    const std::string other = dir.Write("other.xml", kOther);
    const std::string cut = dir.Write("cut.xml", R"(<tavlin><regset n="S" d="s">)");
    const std::string missing = (dir.Path() / "none.xml").string();
    const struct {
        std::string argument, caption;
        std::vector<std::string> events, sets;
    } cases[] = {
        {other, "other.xml" + kDash + "tavlin", {"about", "main"}, kOtherSets},
        {cut, "cut.xml" + kDash + "tavlin", {"message: " + cut + ": expected </regset> tag!", "about", "main"}, {"S"}},
        {missing, "tavlin", {"message: ERROR: Failed to load file - " + missing, "about", "main"}, {}},
        {"", "tavlin", {"about", "main"}, kStartSets},  // no argument: tavlin.xml
    };
    for (const auto& c : cases) {
        std::string caption;
        std::vector<std::string> sets;
        const auto look = [&](CRegisterDlg& dlg) {
            caption = Caption(dlg);
            sets = ShownSets(dlg);
        };
        EXPECT_EQ(RunMainDialog(kStart, look, c.argument).events, c.events) << c.argument;
        EXPECT_EQ(caption, c.caption) << c.argument;
        EXPECT_EQ(sets, c.sets) << c.argument;
    }
}

TEST(GuiOpenFile, OpenFromTheMenuReplacesTheTreeAsOneResetAndEmptiesTheBoxes) {
    TempDir dir;
    std::string path = dir.Write("other.xml", kOther);
    const GuiRun run = RunMainDialog(kStart, [&](CRegisterDlg& dlg) {
        int asked = 0;
        ChooseFile(path, &asked);
        QAction* open = dlg.GetSystemMenu(FALSE)->GetQMenu()->actions().at(2);
        EXPECT_EQ(open->text().toStdString(), "&Open...");
        EXPECT_EQ(open->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
        SelectRow(dlg, {"Start", "R0"});
        ASSERT_EQ(Text(HexBox(dlg)), "0x00");
        ASSERT_EQ(Text(DecimalBox(dlg)), "0");

        QSignalSpy resets(TreeWindow(dlg)->Model(), &QAbstractItemModel::modelReset);
        QSignalSpy inserts(TreeWindow(dlg)->Model(), &QAbstractItemModel::rowsInserted);
        open->trigger();
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(resets.count(), 1);
        EXPECT_EQ(inserts.count(), 0);
        EXPECT_EQ(ShownSets(dlg), kOtherSets);
        EXPECT_EQ(Text(HexBox(dlg)), "");
        EXPECT_EQ(Text(DecimalBox(dlg)), "");
        EXPECT_EQ(Caption(dlg), "other.xml" + kDash + "tavlin");
        // The field table came in with the rows: the hex box reaches the field.
        SelectRow(dlg, {"Timers", "CTRL"});
        QTest::keyClicks(HexBox(dlg), "2");
        EXPECT_EQ(ShownValue(dlg, FindRow(dlg.Tree(), {"Timers", "CTRL", "EN"})), "0x2");

        path.clear();  // Cancel
        open->trigger();
        EXPECT_EQ(asked, 2);
        EXPECT_EQ(Caption(dlg), "other.xml" + kDash + "tavlin");
    });
    EXPECT_EQ(run.events, (std::vector<std::string>{"about", "main"})) << "no box";
}

TEST(GuiOpenFile, AFileThatCannotBeOpenedLeavesEverythingAndSaysWhyInOneBox) {
    TempDir dir;
    std::string path = dir.Write("other.xml", kOther);
    const std::string notRoot = dir.Write("regset.xml", R"(<regset n="S" d="s"></regset>)");
    const std::string missing = (dir.Path() / "none.xml").string();
    const std::string broken = dir.Write("broken.svd", "<device>\n<peripherals><peripheral></device>");
    const std::pair<std::string, std::string> cases[] = {
        {missing, "ERROR: Failed to load file - " + missing},
        {broken, broken + ":2:28: not well-formed XML: Start-end tags mismatch"},
        {dir.Path().string(), "ERROR: Failed to load file - " + dir.Path().string()},  // a directory
        {notRoot, notRoot + ": expected <tavlin> tag!"},
    };
    RunMainDialog(kStart, [&](CRegisterDlg& dlg) {
        ChooseFile(path);
        dlg.SendMessage(WM_SYSCOMMAND, IDM_OPEN);
        SelectRow(dlg, {"Timers", "CTRL"});
        QTest::keyClicks(HexBox(dlg), "3");
        const CRegisterMap& map = dlg.Map();
        ASSERT_EQ(map.Registers().size(), 1u);
        for (const auto& [file, why] : cases) {
            MessageRecorder boxes;
            path = file;
            dlg.SendMessage(WM_SYSCOMMAND, IDM_OPEN);
            ASSERT_EQ(boxes.boxes.size(), 1u) << file;
            EXPECT_EQ(boxes.boxes[0].text, why);
            EXPECT_EQ(boxes.boxes[0].type, MB_OK | MB_ICONEXCLAMATION);
            EXPECT_EQ(ShownSets(dlg), kOtherSets) << file;
            EXPECT_EQ(Caption(dlg), "other.xml" + kDash + "tavlin") << file;
            EXPECT_EQ(Text(HexBox(dlg)), "0x00003") << file;
            EXPECT_EQ(Text(DecimalBox(dlg)), "3") << file;
            // The map is the one opened before, with the value typed into it.
            ASSERT_EQ(map.Registers().size(), 1u) << file;
            EXPECT_STREQ(map.Registers()[0]->GetLabelText(), "CTRL");
            const auto value = map.ValueOf(*map.Registers()[0]);
            ASSERT_TRUE(value) << file;
            EXPECT_EQ(value->value, 3u);
            EXPECT_EQ(value->source, ValueSource::Typed);
            EXPECT_EQ(ShownValue(dlg, FindRow(dlg.Tree(), {"Timers", "CTRL", "EN"})), "0x3") << file;
        }
    });
}

TEST(GuiOpenFile, CtrlOOpensTheFileDialogWhereverTheFocusIs) {
    RunMainDialog(kStart, [&](CRegisterDlg& dlg) {
        int asked = 0;
        const std::string cancel;
        ChooseFile(cancel, &asked);
        dlg.m_hWnd->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.m_hWnd));
        for (QWidget* place : {static_cast<QWidget*>(HexBox(dlg)), static_cast<QWidget*>(DecimalBox(dlg)),
                               static_cast<QWidget*>(TreeWindow(dlg)->View())}) {
            const int before = asked;
            place->setFocus();
            QTest::keyClick(place, Qt::Key_O, Qt::ControlModifier);
            EXPECT_EQ(asked, before + 1) << place->metaObject()->className();
        }
    });
}

TEST(GuiOpenFile, DroppingOneLocalFileOnTheTreeOrABoxOpensIt) {
    TempDir dir;
    const QUrl other = QUrl::fromLocalFile(QString::fromStdString(dir.Write("other.xml", kOther)));
    const QUrl start = QUrl::fromLocalFile(QString::fromStdString(dir.Write("start.xml", kStart)));
    auto text = std::make_unique<QMimeData>();
    text->setText(other.toLocalFile());
    const struct {
        std::unique_ptr<QMimeData> data;
        Qt::DropActions actions;
    } refused[] = {
        {std::move(text), Qt::CopyAction},
        {Files({QUrl(QStringLiteral("https://example.invalid/other.xml"))}), Qt::CopyAction},
        {Files({other, start}), Qt::CopyAction},
        {Files({other}), Qt::MoveAction},
    };
    const GuiRun run = RunMainDialog(kStart, [&](CRegisterDlg& dlg) {
        QWidget* tree = TreeWindow(dlg)->View()->viewport();
        for (const auto& r : refused) {
            EXPECT_FALSE(DragAndDrop(tree, *r.data, r.actions)) << r.data->formats().join(',').toStdString();
            EXPECT_EQ(ShownSets(dlg), kStartSets);
        }
        EXPECT_EQ(Caption(dlg), "tavlin");
        EXPECT_TRUE(DragAndDrop(tree, *Files({other})));
        EXPECT_EQ(ShownSets(dlg), kOtherSets);
        EXPECT_EQ(Caption(dlg), "other.xml" + kDash + "tavlin");
        EXPECT_TRUE(DragAndDrop(HexBox(dlg), *Files({start})));
        EXPECT_EQ(Caption(dlg), "start.xml" + kDash + "tavlin");
    });
    EXPECT_EQ(run.events, (std::vector<std::string>{"about", "main"})) << "no box";
}

// A register without fields gets one edit row over all its bits, from its
// reset value, so selecting it shows that value.
TEST(GuiOpenFile, AnSvdRegisterShowsItsResetValue) {
    TempDir dir;
    const std::string chip = dir.Write("chip.svd",
                                       "<device><name>D</name><peripherals><peripheral><name>P</name>"
                                       "<baseAddress>0x40000000</baseAddress><registers><register><name>R</name>"
                                       "<addressOffset>0</addressOffset><size>16</size><resetValue>0x1234</resetValue>"
                                       "</register></registers></peripheral></peripherals></device>");
    const GuiRun run = RunMainDialog(kStart, [&](CRegisterDlg& dlg) {
        ChooseFile(chip);
        dlg.SendMessage(WM_SYSCOMMAND, IDM_OPEN);
        EXPECT_EQ(Caption(dlg), "chip.svd" + kDash + "tavlin");
        ASSERT_NE(FindRow(dlg.Tree(), {"P", "R"}), nullptr);
        SelectRow(dlg, {"P", "R"});
        EXPECT_EQ(Text(HexBox(dlg)), "0x1234");
        // The map that replaced tavlin.xml's gives addresses: the view shows their column.
        EXPECT_FALSE(TreeWindow(dlg)->View()->isColumnHidden(CPropTreeModel::AddressColumn));
    });
    EXPECT_EQ(run.events, (std::vector<std::string>{"about", "main"}));
}

TEST(GuiOpenFile, AnSvdMapsFirstOpenWidensTheWindowToShowItsColumnsUncut) {
    TempDir dir;
    const std::string chip = dir.Write("netduinoplus2.svd", ReadExampleFile("netduinoplus2.svd"));
    const TempDir config;  // both runs keep their settings here, starting from none
    const ConfigHome home(config.Path());
    int fittedWidth = 0;
    RunMainDialog(kStart, [&](CRegisterDlg& dlg) {
        CPropTreeView* view = TreeWindow(dlg)->View();
        fittedWidth = dlg.m_hWnd->width();
        EXPECT_GT(fittedWidth, 300);
        int columns = 0;
        for (int column = 0; column <= CPropTreeModel::AddressColumn; ++column) columns += view->columnWidth(column);
        // Name, Bits and Address fit, and the value column keeps room for a value.
        EXPECT_LT(columns + view->fontMetrics().horizontalAdvance("0x00000000"), view->viewport()->width());
    }, chip);
    // Later the remembered size wins over the fitting: the next start has the fitted width.
    CAppSettings settings;
    EXPECT_TRUE(settings.FittedToMap());
    RunMainDialog(kStart, [&](CRegisterDlg& dlg) { EXPECT_EQ(dlg.m_hWnd->width(), fittedWidth); }, chip);
}

// The Address column is shown exactly while the map shown gives addresses,
// whatever map was shown before: the view lays its columns out when the rows
// are swapped in, and by then the rest of the map is the new one too.
TEST(GuiOpenFile, TheAddressColumnFollowsTheMapOpened) {
    TempDir dir;
    const std::string chip = dir.Write("chip.svd",
                                       "<device><name>D</name><peripherals><peripheral><name>P</name>"
                                       "<baseAddress>0x40000000</baseAddress><registers><register><name>R</name>"
                                       "<addressOffset>4</addressOffset></register></registers></peripheral>"
                                       "</peripherals></device>");
    const std::string other = dir.Write("other.xml", kOther);
    const struct {
        std::string path;
        bool addresses;
    } opened[] = {{chip, true}, {other, false}, {chip, true}, {chip, true}};
    RunMainDialog(kStart, [&](CRegisterDlg& dlg) {
        CPropTreeView* view = TreeWindow(dlg)->View();
        EXPECT_TRUE(view->isColumnHidden(CPropTreeModel::AddressColumn)) << "tavlin.xml";
        for (const auto& c : opened) {
            dlg.OpenFile(c.path.c_str());
            EXPECT_EQ(view->isColumnHidden(CPropTreeModel::AddressColumn), !c.addresses) << c.path;
            EXPECT_EQ(view->columnWidth(CPropTreeModel::AddressColumn) > 0, c.addresses) << c.path;
        }
    });
}

}  // namespace
