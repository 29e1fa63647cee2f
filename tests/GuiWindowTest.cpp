// SPDX-License-Identifier: MIT
// The main window itself: layout, the menu of window commands, the About
// box, the message map and the help command; and how window objects hold
// their widgets.
#include <gtest/gtest.h>

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>

#include "framework/Edit.h"
#include "framework/Menu.h"
#include "framework/String.h"
#include "res/resource.h"
#include "tests/ExampleFiles.h"
#include "tests/GuiHarness.h"
#include "tree/PropTreeModel.h"
#include "tree/PropTreeView.h"
#include "ui/AboutDlg.h"

namespace {

const char* const kDefinitions = R"(<tavlin>
<regset n="Timers" d="Counters">
  <register n="CTRL" w="32" v="0x0" d="Control">
    <field n="EN" k="edit" d="Enable" l="0" h="0"></field>
    <field n="MODE" k="combo" d="Mode" l="4" h="5"><select n="Slow" v="0"/><select n="Fast" v="2"/></field>
  </register>
</regset>
</tavlin>
)";

QRect Geometry(WindowHandle widget) { return widget ? widget->geometry() : QRect(); }

struct LayoutCase {
    int cw, ch;
    QRect hex, decimal, tree;
};

TEST(GuiLayout, PlacesBoxesAndTreeByTheClientArea) {
    const LayoutCase cases[] = {
        {292, 566, {2, 543, 144, 21}, {147, 543, 143, 21}, {-1, -1, 294, 541}},
        {293, 566, {2, 543, 144, 21}, {147, 543, 143, 21}, {-1, -1, 295, 541}},  // 3 pixels right of the decimal box
        {2, 10, {2, -13, 0, 21}, {2, -13, 0, 21}, {-1, -1, 4, 0}},              // negative sizes taken as zero
        {0, 0, {2, -23, 0, 21}, {1, -23, 0, 21}, {-1, -1, 2, 0}},               // minimised: an empty client area
    };
    RunMainDialog(kDefinitions, [&](CRegisterDlg& dlg) {
        // The first layout ran when the window was shown: boxes 2 pixels above the bottom.
        RECT client;
        dlg.GetClientRect(&client);
        EXPECT_EQ(Geometry(dlg.HexEdit().m_hWnd).bottom() + 1 + 2, client.bottom);
        EXPECT_EQ(Geometry(dlg.Tree().m_hWnd).topLeft(), QPoint(-1, -1));

        for (WindowHandle box : {dlg.HexEdit().m_hWnd, dlg.DecimalEdit().m_hWnd}) box->resize(box->width(), 21);
        for (const LayoutCase& c : cases) {
            dlg.LayoutControls(RECT{0, 0, c.cw, c.ch});
            EXPECT_EQ(Geometry(dlg.HexEdit().m_hWnd), c.hex) << c.cw << "x" << c.ch;
            EXPECT_EQ(Geometry(dlg.DecimalEdit().m_hWnd), c.decimal) << c.cw << "x" << c.ch;
            EXPECT_EQ(Geometry(dlg.Tree().m_hWnd), c.tree) << c.cw << "x" << c.ch;
        }
        // Restoring lays everything out again from the new client area.
        // The client area is what the menu bar leaves below it.
        dlg.m_hWnd->resize(320, 480);
        QApplication::processEvents();
        dlg.GetClientRect(&client);
        const int menuBar = dlg.GetMenuBar()->height();
        EXPECT_GT(menuBar, 0);
        EXPECT_EQ(client.bottom, 480 - menuBar);
        EXPECT_EQ(dlg.GetClientWidget()->geometry(), QRect(0, menuBar, 320, 480 - menuBar));
        EXPECT_EQ(Geometry(dlg.DecimalEdit().m_hWnd), QRect(161, client.bottom - 21 - 2, 157, 21));
    });
}

TEST(GuiLayout, MinimisedTheLayoutRunsOnAnEmptyClientAreaAndTheIconIsPainted) {
    RunMainDialog(kDefinitions, [](CRegisterDlg& dlg) {
        dlg.m_hWnd->showMinimized();
        QApplication::processEvents();
        if (!dlg.IsIconic()) GTEST_SKIP() << "this platform does not minimise windows";
        EXPECT_EQ(Geometry(dlg.HexEdit().m_hWnd).width(), 0);
        EXPECT_EQ(Geometry(dlg.Tree().m_hWnd).height(), 0);
        EXPECT_FALSE(dlg.m_hWnd->grab().isNull()) << "painting the icon";
        dlg.m_hWnd->showNormal();
        QApplication::processEvents();
        EXPECT_GT(Geometry(dlg.HexEdit().m_hWnd).width(), 100) << "restoring lays out again";
    });
}

TEST(GuiLayout, SizeEventsBeforeTheWindowsExistMoveNothing) {
    CRegisterDlg dlg;
    dlg.SendMessage(WM_SIZE, 0, MAKELPARAM(300, 600));
    dlg.LayoutControls(RECT{0, 0, 300, 600});
    EXPECT_EQ(dlg.HexEdit().m_hWnd, nullptr);
}

TEST(GuiWindow, StartsAtTheTopLeftWithTheFixedOuterSize) {
    RunMainDialog(kDefinitions, [](CRegisterDlg& dlg) {
        RECT window;
        dlg.GetWindowRect(&window);
        EXPECT_EQ(window.right - window.left, 300);
        EXPECT_EQ(window.bottom - window.top, 600);
        EXPECT_EQ(dlg.m_hWnd->windowTitle().toStdString(), "tavlin");
        EXPECT_FALSE(dlg.m_hWnd->windowIcon().isNull());
        EXPECT_EQ(reinterpret_cast<IconHandle>(dlg.SendMessage(WM_QUERYDRAGICON)), dlg.Icon());
    });
}

TEST(GuiWindow, AboutBoxComesFromTheMenuOfWindowCommandsAsOftenAsAsked) {
    const GuiRun run = RunMainDialog(kDefinitions, [](CRegisterDlg& dlg) {
        QStringList texts;
        QAction* about = nullptr;
        for (QAction* action : dlg.GetSystemMenu(FALSE)->GetQMenu()->actions()) {
            texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
            if (action->text() == QStringLiteral("&About tavlin...")) about = action;
        }
        EXPECT_EQ(texts.join(QLatin1Char('|')).toStdString(), "&Close|-|&Open...|&About tavlin...");
        ASSERT_NE(about, nullptr);
        about->trigger();
        about->trigger();
        dlg.SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX + 15);  // low 16 bits 16..31: the About command too
        dlg.SendMessage(WM_SYSCOMMAND, 0x10000 | IDM_ABOUTBOX);
        dlg.SendMessage(WM_SYSCOMMAND, 0x0100);  // not a command of the menu
        EXPECT_TRUE(dlg.m_hWnd->isVisible());
    });
    EXPECT_EQ(std::count(run.events.begin(), run.events.end(), "about"), 1);
    EXPECT_EQ(std::count(run.events.begin(), run.events.end(), "about over main"), 4);
}

TEST(GuiWindow, RightClickOutsideTheTreeOpensTheMenuOfWindowCommands) {
    RunMainDialog(kDefinitions, [](CRegisterDlg& dlg) {
        QMenu* menu = dlg.GetSystemMenu(FALSE)->GetQMenu();
        QContextMenuEvent inTree(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
        QApplication::sendEvent(TreeWindow(dlg)->View()->viewport(), &inTree);
        EXPECT_FALSE(menu->isVisible()) << "not in the tree";
        QContextMenuEvent onDialog(QContextMenuEvent::Mouse, QPoint(1, 1), dlg.m_hWnd->mapToGlobal(QPoint(1, 1)));
        QApplication::sendEvent(dlg.m_hWnd, &onDialog);
        EXPECT_TRUE(menu->isVisible());
        menu->hide();
    });
}

TEST(GuiWindow, TheCloseCommandAndTheCloseBoxCancel) {
    EXPECT_EQ(RunMainDialog(kDefinitions, [](CRegisterDlg& dlg) { dlg.SendMessage(WM_SYSCOMMAND, SC_CLOSE); }).result,
              IDCANCEL);
    bool ended = false;
    RunMainDialog(kDefinitions, [&](CRegisterDlg& dlg) {
        dlg.m_hWnd->close();
        ended = !dlg.m_hWnd->isVisible();
    });
    EXPECT_TRUE(ended);
}

TEST(GuiMessageMap, OnlyTheTreesTwoNotificationsAndTheHexBoxAreHandled) {
    RunMainDialog(kDefinitions, [](CRegisterDlg& dlg) {
        CPropTreeItem* reg = FindRow(dlg.Tree(), {"Timers", "CTRL"});
        dlg.Tree().SetFocusedItem(reg);
        auto notify = [&](UINT code, UINT id) {
            TreeNotification nm;
            nm.hdr.idFrom = id;
            nm.hdr.code = code;
            nm.pRow = reg;
            return dlg.SendMessage(WM_NOTIFY, id, reinterpret_cast<LPARAM>(&nm));
        };
        const struct {
            UINT code, id;
            bool handled;
        } cases[] = {
            {static_cast<UINT>(-1106), IDC_TREE, false}, {static_cast<UINT>(-1105), 101, false},
            {static_cast<UINT>(-1105), IDC_HEX, false},  {0xFBAF, IDC_TREE, true},
            {static_cast<UINT>(-1105), IDC_TREE, true},  {static_cast<UINT>(-1107), IDC_TREE, true},
        };
        for (const auto& c : cases) {
            HexBox(dlg)->blockSignals(true);
            HexBox(dlg)->clear();
            HexBox(dlg)->blockSignals(false);
            EXPECT_EQ(notify(c.code, c.id), 0);
            EXPECT_EQ(HexBox(dlg)->text().isEmpty(), !c.handled) << std::hex << c.code << " from " << std::dec << c.id;
        }
        // EN_CHANGE from other controls, and other notifications of the hex box, do nothing.
        DecimalBox(dlg)->setText("7");
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(1005, EN_CHANGE), 0);
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_HEX, 0x0400), 0);
        EXPECT_EQ(DecimalBox(dlg)->text().toStdString(), "7");
    });
}

// A window object and its widget: whichever goes first, the other is not
// touched afterwards (under ASan a write to a window object that is gone
// fails the test), and a window object whose widget went has none.
TEST(GuiWindowLink, AnEditBoxLetsGoOfItsWidgetWhicheverGoesFirst) {
    auto* first = new QLineEdit;
    auto* second = new QLineEdit;
    CEdit edit;
    edit.Attach(first);
    edit.Attach(second);
    delete first;
    EXPECT_EQ(edit.m_hWnd, second) << "a widget it was attached to before is no longer its own";
    delete second;
    EXPECT_EQ(edit.m_hWnd, nullptr);
    CString text("kept?");
    edit.GetWindowText(text);
    EXPECT_TRUE(text.IsEmpty());
    edit.SetWindowText("nowhere");

    QLineEdit outliving;
    auto gone = std::make_unique<CEdit>();
    gone->Attach(&outliving);
    gone.reset();
}  // `outliving` is destroyed after its window object

TEST(GuiWindowLink, TheTreesWindowIsTheTreesWhileBothExist) {
    CPropTree tree;
    auto* window = new CPropTreeWindow(tree, nullptr);
    EXPECT_EQ(tree.m_hWnd, window);
    delete window;
    EXPECT_EQ(tree.m_hWnd, nullptr);

    QWidget parent;
    auto gone = std::make_unique<CPropTree>();
    new CPropTreeWindow(*gone, &parent);
    gone.reset();
}  // the tree's window goes with `parent`, after the tree

TEST(GuiWindowLink, ADialogHasItsWindowOnlyWhileItRuns) {
    bool shown = false;
    const auto previous = CDialog::SetModalRunner([&shown](CDialog& dialog) {
        shown = dialog.m_hWnd && dialog.m_hWnd->isVisible();
        return IDOK;
    });
    CAboutDlg about;
    EXPECT_EQ(about.m_hWnd, nullptr);
    EXPECT_EQ(about.DoModal(), IDOK);
    EXPECT_TRUE(shown);
    EXPECT_EQ(about.m_hWnd, nullptr);
    CDialog::SetModalRunner(previous);
}

TEST(GuiWindow, HelpGoesToTheApplication) {
    const GuiRun run = RunMainDialog(kDefinitions, [](CRegisterDlg& dlg) { QTest::keyClick(HexBox(dlg), Qt::Key_F1); });
    ASSERT_GE(run.events.size(), 3u);
    EXPECT_EQ(run.events.back().rfind("message: tavlin has no help pages", 0), 0u) << run.events.back();
}

// Writes a picture of the main window on the example definitions, with a
// register selected and a value typed, when TAVLIN_SCREENSHOT names a file.
TEST(GuiWindow, Screenshot) {
    const char* path = std::getenv("TAVLIN_SCREENSHOT");
    if (!path) GTEST_SKIP() << "set TAVLIN_SCREENSHOT to a PNG path to write the picture";
    const std::string example = ReadExampleFile("tavlin.xml");
    ASSERT_FALSE(example.empty());
    RunMainDialog(example, [&](CRegisterDlg& dlg) {
        CPropTreeView* view = TreeWindow(dlg)->View();
        const CPropTreeModel* model = TreeWindow(dlg)->Model();
        view->expand(model->IndexFromItem(FindRow(dlg.Tree(), {"UART1"})));
        view->expand(model->IndexFromItem(FindRow(dlg.Tree(), {"UART1", "CR1"})));
        ClickRow(dlg, FindRow(dlg.Tree(), {"UART1", "CR1", "PARITY"}));
        HexBox(dlg)->selectAll();
        QTest::keyClicks(HexBox(dlg), "0x0000240c");
        view->scrollTo(model->IndexFromItem(FindRow(dlg.Tree(), {"UART1", "CR1"})), QAbstractItemView::PositionAtTop);
        QApplication::processEvents();
        EXPECT_TRUE(dlg.m_hWnd->grab().save(QString::fromUtf8(path)));
    });
}

}  // namespace
