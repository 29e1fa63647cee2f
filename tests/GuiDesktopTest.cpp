// SPDX-License-Identifier: MIT
// tavlin as a desktop program: started by its desktop entry it opens an empty
// window that says how to open a map and lists the maps opened before; what
// it keeps is written the moment it changes; the menu bar holds every command
// with its shortcut, disabled where it does not apply. A start from a
// terminal keeps tavlin.xml, the fixed window and the About box.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "tests/ExampleFiles.h"
#include "tests/GuiHarness.h"
#include "tests/TempDir.h"
#include "tree/PropTreeModel.h"
#include "ui/AppSettings.h"
#include "ui/StartPanel.h"

namespace {

const char* const kDefinitions = R"(<tavlin><regset n="Timers" d="t">
<register n="CTRL" w="16" v="0" d="c"><field n="EN" k="edit" d="e" l="0" h="1"></field></register></regset></tavlin>)";

const char* const kBoard =
    "<device><name>BOARD</name><peripherals><peripheral><name>GPIO</name><baseAddress>0x40020000</baseAddress>"
    "<registers><register><name>ODR</name><addressOffset>0x14</addressOffset><resetValue>0x1</resetValue>"
    "<fields><field><name>PIN0</name><bitOffset>0</bitOffset><bitWidth>1</bitWidth></field></fields>"
    "</register></registers></peripheral></peripherals></device>";

const std::string kDash = " \xE2\x80\x94 ";

// The command line the desktop entry gives tavlin when it is started without
// a file: its Exec= line split at spaces, less the field codes (%f) that a
// launcher drops when it has no file to give.
std::vector<std::string> DesktopEntryArguments() {
    const auto path =
        SourceTreePath() / "res" / "io.github.tavlin.Tavlin.desktop";
    std::ifstream in(path);
    std::vector<std::string> arguments;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("Exec=", 0) != 0) continue;
        std::istringstream words(line.substr(5));
        for (std::string word; words >> word;)
            if (word.size() != 2 || word[0] != '%') arguments.push_back(word);
    }
    return arguments;
}

// The settings file as it is on disk now, read through a copy so that
// nothing the running window holds in memory can answer.
std::unique_ptr<CAppSettings> SettingsOnDisk(const TempDir& scratch) {
    static int copies = 0;
    const QString copy = QString::fromStdString((scratch.Path() / ("copy" + std::to_string(++copies) + ".conf")).string());
    EXPECT_TRUE(QFile::copy(CAppSettings::DefaultFile(), copy)) << "no settings file on disk";
    return std::make_unique<CAppSettings>(copy);
}

// The top-level windows on screen: a box over the main window would be one.
std::vector<QWidget*> VisibleWindows() {
    std::vector<QWidget*> shown;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible()) shown.push_back(widget);
    return shown;
}

// Processes events until `done` holds, for at most two seconds.
bool WaitFor(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 2000) QTest::qWait(10);
    return done();
}

CStartPanel* ShownStartPanel(CRegisterDlg& dlg) {
    CStartPanel* panel = dlg.StartPanel();
    return panel && panel->isVisible() ? panel : nullptr;
}

TEST(GuiDesktop, TheDesktopEntryStartsAnEmptyWindowAndTheNextStartListsTheMapOpened) {
    const TempDir folder;  // where the desktop starts tavlin: an empty folder
    const TempDir config;  // and no settings yet
    const TempDir scratch;
    const CurrentDir current(folder.Path());
    const ConfigHome home(config.Path());
    const std::vector<std::string> arguments = DesktopEntryArguments();
    ASSERT_EQ(arguments, (std::vector<std::string>{"tavlin", "--desktop"}));
    {  // the command line reaches the window untouched
        std::vector<const char*> argv;
        for (const std::string& argument : arguments) argv.push_back(argument.c_str());
        std::ostringstream out, err;
        EXPECT_EQ(RunCommandLine(static_cast<int>(argv.size()), argv.data(), out, err), std::nullopt);
        EXPECT_EQ(out.str() + err.str(), "");
    }
    const std::string board = (std::filesystem::current_path() / "board.svd").string();
    const QRect placed(40, 50, 620, 410);

    const GuiRun first = StartMainWindow(arguments, [&](CRegisterDlg& dlg) {
        EXPECT_EQ(VisibleWindows(), std::vector<QWidget*>{dlg.m_hWnd}) << "no box over the window";
        EXPECT_EQ(dlg.m_hWnd->windowTitle().toStdString(), "tavlin");
        EXPECT_TRUE(dlg.IsMapEmpty());
        CStartPanel* panel = ShownStartPanel(dlg);
        ASSERT_NE(panel, nullptr) << "the empty window's text";
        EXPECT_FALSE(TreeWindow(dlg)->View()->isVisible());
        const std::string hint = panel->Hint()->text().toStdString();
        for (const char* says : {"No register map is open", "Open...", "File menu", "Ctrl+O", "drop"})
            EXPECT_NE(hint.find(says), std::string::npos) << '"' << says << "\" in: " << hint;
        EXPECT_FALSE(panel->Recent()->isVisible()) << "no map was opened before";

        // A map from the folder, by a name relative to it: its rows take the
        // panel's place, and it is kept by its full path at once.
        folder.Write("board.svd", kBoard);
        dlg.OpenFile("board.svd");
        EXPECT_EQ(dlg.m_hWnd->windowTitle().toStdString(), "board.svd" + kDash + "tavlin");
        EXPECT_EQ(ShownStartPanel(dlg), nullptr);
        EXPECT_TRUE(TreeWindow(dlg)->View()->isVisible());
        dlg.m_hWnd->setGeometry(placed);
        QApplication::processEvents();
        const auto disk = SettingsOnDisk(scratch);
        EXPECT_EQ(disk->RecentMaps(), std::vector<std::string>{board});
        EXPECT_EQ(disk->WindowGeometry(), placed);
        EXPECT_EQ(VisibleWindows(), std::vector<QWidget*>{dlg.m_hWnd});
        // Ctrl+Q, wherever the keyboard is in the window, ends it.
        QTest::keyClick(HexBox(dlg), Qt::Key_Q, Qt::ControlModifier);
        EXPECT_FALSE(dlg.m_hWnd->isVisible()) << "Quit";
    });
    EXPECT_EQ(first.events, std::vector<std::string>{"main"});
    EXPECT_EQ(first.result, 0);

    // tavlin.xml in the folder is not the desktop's business: a broken one
    // would say so in a box.
    folder.Write("tavlin.xml", R"(<tavlin><regset n="S" d="s">)");
    const GuiRun second = StartMainWindow(arguments, [&](CRegisterDlg& dlg) {
        EXPECT_TRUE(dlg.IsMapEmpty()) << "tavlin.xml is not read";
        EXPECT_EQ(dlg.m_hWnd->geometry(), placed) << "where it was left";
        CStartPanel* panel = ShownStartPanel(dlg);
        ASSERT_NE(panel, nullptr);
        QListWidget* recent = panel->Recent();
        EXPECT_TRUE(recent->isVisible());
        ASSERT_EQ(recent->count(), 1);
        EXPECT_EQ(recent->item(0)->data(Qt::UserRole).toString().toStdString(), board);
        EXPECT_TRUE(recent->item(0)->text().startsWith(QStringLiteral("board.svd"))) << "its name first";
        EXPECT_TRUE(recent->hasFocus()) << "Enter opens the first map";
        QTest::keyClick(recent, Qt::Key_Return);
        EXPECT_TRUE(WaitFor([&] { return !dlg.IsMapEmpty(); }));
        EXPECT_EQ(dlg.m_hWnd->windowTitle().toStdString(), "board.svd" + kDash + "tavlin");
        EXPECT_NE(FindRow(dlg.Tree(), {"GPIO", "ODR"}), nullptr);
        EXPECT_EQ(ShownStartPanel(dlg), nullptr);
    });
    EXPECT_EQ(second.events, std::vector<std::string>{"main"});
}

// Every command of the menu bar, in its order: the menu's title and the
// command's text, both without their '&', and the shortcut shown beside it.
const char* const kMenuBar[][3] = {
    {"File", "Open...", "Ctrl+O"},
    {"File", "Open device...", "Ctrl+D"},
    {"File", "Open recent", ""},
    {"File", "Open values...", "Ctrl+Shift+O"},
    {"File", "Save values...", "Ctrl+S"},
    {"File", "Compare with values...", "Ctrl+Shift+M"},
    {"File", "Quit", "Ctrl+Q"},
    {"Edit", "Copy value", "Ctrl+C"},
    {"Edit", "Copy register and fields", "Ctrl+Shift+C"},
    {"Edit", "Copy as C", "Ctrl+Alt+C"},
    {"Edit", "Copy changed as C", "Ctrl+Alt+Shift+C"},
    {"Edit", "Paste values", "Ctrl+V"},
    {"Edit", "Find...", "Ctrl+F"},
    {"Edit", "Reset value", "Ctrl+R"},
    {"Target", "Connect to target...", "Ctrl+K"},
    {"Target", "Disconnect", "Ctrl+Shift+K"},
    {"Target", "Read", "F5"},
    {"Target", "Read set", "Shift+F5"},
    {"Target", "Write to chip", "Ctrl+Shift+W"},
    {"Target", "Watch", "Ctrl+F5"},
    {"Target", "Fault report", "Ctrl+Shift+F"},
    {"Target", "Add core registers...", ""},
    {"Settings", "Pack folders...", ""},
    {"Help", "About tavlin...", ""},
};

TEST(GuiDesktop, TheMenuBarHoldsEveryCommandWithItsShortcut) {
    for (const auto& arguments : {std::vector<std::string>{"tavlin", "--desktop"}, std::vector<std::string>{"tavlin"}}) {
        const TempDir folder, config;
        folder.Write("tavlin.xml", kDefinitions);
        const CurrentDir current(folder.Path());
        const ConfigHome home(config.Path());
        StartMainWindow(arguments, [&](CRegisterDlg& dlg) {
            std::vector<std::string> expected, shown;
            for (const auto& command : kMenuBar)
                expected.push_back(std::string(command[0]) + " | " + command[1] + " | " + command[2]);
            for (QAction* title : dlg.GetMenuBar()->actions()) {
                ASSERT_NE(title->menu(), nullptr) << title->text().toStdString();
                for (QAction* action : title->menu()->actions()) {
                    if (action->isSeparator()) continue;
                    shown.push_back(WithoutMnemonic(title->text()).toStdString() + " | " +
                                    WithoutMnemonic(action->text()).toStdString() + " | " +
                                    action->shortcut().toString(QKeySequence::PortableText).toStdString());
                    EXPECT_TRUE(action->shortcut().isEmpty() || action->isShortcutVisibleInContextMenu())
                        << action->text().toStdString() << ": its shortcut is shown";
                }
            }
            EXPECT_EQ(shown, expected) << arguments.back();
        });
    }
}

// What a command applies to at a moment: `enabled` while its menu is open.
struct Applies {
    const char* command;
    bool enabled;
};

struct Moment {
    const char* name;
    std::function<void(CRegisterDlg&)> bring;  // from the moment before
    std::vector<Applies> commands;
};

TEST(GuiDesktop, CommandsThatDoNotApplyAreDisabledInTheirMenuAndForTheirShortcut) {
    const TempDir folder, config;
    const CurrentDir current(folder.Path());
    const ConfigHome home(config.Path());
    folder.Write("board.svd", kBoard);
    const Moment moments[] = {
        {"an empty window, nothing opened before",
         [](CRegisterDlg&) { QApplication::clipboard()->setText("0x40020014 0x1"); },
         {{"Open...", true}, {"Open recent", false}, {"Open values...", false}, {"Save values...", false},
          {"Compare with values...", false}, {"Quit", true}, {"Copy value", false},
          {"Copy register and fields", false}, {"Copy as C", false}, {"Copy changed as C", false},
          {"Paste values", false}, {"Find...", false}, {"Reset value", false}, {"About tavlin...", true}}},
        {"a map open, no register in hand", [](CRegisterDlg& dlg) { dlg.OpenFile("board.svd"); },
         {{"Open recent", true}, {"Open values...", true}, {"Save values...", true},
          {"Compare with values...", true}, {"Copy value", false}, {"Copy register and fields", false},
          {"Copy as C", false}, {"Copy changed as C", false}, {"Paste values", true}, {"Find...", true},
          {"Reset value", false}}},
        {"a register in hand",
         [](CRegisterDlg& dlg) {
             TreeWindow(dlg)->View()->expandAll();
             ClickRow(dlg, FindRow(dlg.Tree(), {"GPIO", "ODR"}));
         },
         {{"Copy value", true}, {"Copy register and fields", true}, {"Copy as C", true},
          {"Copy changed as C", false}, {"Reset value", true}}},
        {"a register changed from its reset value", [](CRegisterDlg& dlg) { HexBox(dlg)->setText("0x0"); },
         {{"Copy as C", true}, {"Copy changed as C", true}}},
        {"nothing on the clipboard", [](CRegisterDlg&) { QApplication::clipboard()->clear(); },
         {{"Paste values", false}, {"Save values...", true}}},
    };
    const GuiRun run = StartMainWindow({"tavlin", "--desktop"}, [&](CRegisterDlg& dlg) {
        for (const Moment& moment : moments) {
            moment.bring(dlg);
            for (const Applies& c : moment.commands) {
                EXPECT_EQ(EnabledInOpenMenu(dlg, c.command), c.enabled) << c.command << " with " << moment.name;
                // Closed, the menu leaves each command as it showed it, so a shortcut works exactly when its
                // entry is enabled.
                EXPECT_EQ(FindCommand(dlg, c.command).action->isEnabled(), c.enabled) << c.command << " with "
                                                                                     << moment.name;
            }
        }
    });
    EXPECT_EQ(run.events, std::vector<std::string>{"main"});
}

TEST(GuiDesktop, AShortcutDoesNothingWhereItsCommandDoesNotApply) {
    const TempDir folder, config;
    const CurrentDir current(folder.Path());
    const ConfigHome home(config.Path());
    folder.Write("board.svd", kBoard);
    // Save values, Compare with values, Read and Watch: none applies on the empty window, and the
    // chip commands none without a connection; Save values applies once a map is open (its file
    // dialog comes up, and is cancelled).
    const struct {
        QKeySequence keys;
        bool withMap;
    } presses[] = {{QKeySequence::Save, false},
                   {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M), false},
                   {QKeySequence(Qt::Key_F5), false},
                   {QKeySequence(Qt::Key_F5), true},
                   {QKeySequence(Qt::CTRL | Qt::Key_F5), true},
                   {QKeySequence::Save, true}};
    const GuiRun run = StartMainWindow({"tavlin", "--desktop"}, [&](CRegisterDlg& dlg) {
        bool opened = false;
        for (const auto& press : presses) {
            if (press.withMap && !opened) {
                opened = true;
                dlg.OpenFile("board.svd");
                TreeWindow(dlg)->View()->expandAll();
                ClickRow(dlg, FindRow(dlg.Tree(), {"GPIO", "ODR"}));
            }
            QTest::keySequence(TreeWindow(dlg)->View(), press.keys);
        }
    });
    EXPECT_EQ(run.events, (std::vector<std::string>{"main", "file dialog"}));
}

TEST(GuiDesktop, OpenRecentListsTheRememberedMapsAndOpensThem) {
    const TempDir folder, config;
    const CurrentDir current(folder.Path());
    const ConfigHome home(config.Path());
    const std::string board = folder.Write("board.svd", kBoard);
    const std::string timers = folder.Write("timers.xml", kDefinitions);
    {
        CAppSettings settings;
        settings.AddRecentMap(board);
        settings.AddRecentMap(timers);
    }
    StartMainWindow({"tavlin", "--desktop"}, [&](CRegisterDlg& dlg) {
        const MenuCommand recent = FindCommand(dlg, "Open recent");
        ASSERT_NE(recent.action, nullptr);
        ASSERT_NE(recent.action->menu(), nullptr);
        recent.menu->popup(dlg.m_hWnd->mapToGlobal(QPoint(0, 0)));
        QStringList listed;
        for (QAction* action : recent.action->menu()->actions()) listed << action->text();
        EXPECT_EQ(listed, (QStringList{QString::fromStdString(timers), QString::fromStdString(board)}))
            << "the most recent first";
        QAction* older = recent.action->menu()->actions().value(1);
        recent.menu->hide();
        ASSERT_NE(older, nullptr);
        older->trigger();
        EXPECT_EQ(dlg.m_hWnd->windowTitle().toStdString(), "board.svd" + kDash + "tavlin");
        EXPECT_EQ(dlg.Settings().RecentMaps(), (std::vector<std::string>{board, timers}));
    });
}

// A start from a terminal with no argument is as it always was, whatever a
// desktop start remembered: tavlin.xml of the current directory, the fixed
// size at the top left, the About box first; and it leaves what the desktop
// start remembered alone, since it never uses it. The desktop start beside it
// takes what was remembered and keeps where the user puts it.
TEST(GuiDesktop, AStartFromATerminalKeepsItsWindowAndLeavesTheDesktopsSettingsAlone) {
    const QRect remembered(40, 50, 620, 410);
    const QList<int> widths{150, 70, 95};
    const struct {
        std::vector<std::string> arguments;
        std::vector<std::string> events;
        bool definitions;  // the rows of tavlin.xml shown, no start panel, the columns of its own
        QRect start;       // where the window starts: its frame for a plain start, else what is inside
        QRect moved;       // where the user puts it
        QRect kept;        // the place remembered after
    } cases[] = {
        {{"tavlin"}, {"about", "main"}, true, QRect(0, 0, 300, 600), QRect(10, 20, 300, 600), remembered},
        {{"tavlin", "--desktop"}, {"main"}, false, remembered, QRect(60, 70, 500, 400), QRect(60, 70, 500, 400)},
    };
    for (const auto& c : cases) {
        const TempDir folder, config;
        folder.Write("tavlin.xml", kDefinitions);
        const std::string board = folder.Write("board.svd", kBoard);
        const std::string timers = folder.Write("timers.xml", kDefinitions);
        const CurrentDir current(folder.Path());
        const ConfigHome home(config.Path());
        {
            CAppSettings settings;
            settings.AddRecentMap(board);
            settings.SetWindowGeometry(remembered);
            settings.SetColumnWidths(widths);
            settings.SetFittedToMap();
        }
        const std::string name = c.arguments.back();
        const GuiRun run = StartMainWindow(c.arguments, [&](CRegisterDlg& dlg) {
            RECT frame;
            dlg.GetWindowRect(&frame);
            const QRect outer(QPoint(frame.left, frame.top), QPoint(frame.right - 1, frame.bottom - 1));
            EXPECT_EQ(c.definitions ? outer : dlg.m_hWnd->geometry(), c.start) << name;
            EXPECT_EQ(FindRow(dlg.Tree(), {"Timers", "CTRL"}) != nullptr, c.definitions) << name;
            EXPECT_EQ(ShownStartPanel(dlg) == nullptr, c.definitions) << name;
            CPropTreeView* view = TreeWindow(dlg)->View();
            EXPECT_EQ(view->columnWidth(CPropTreeModel::LabelColumn) == widths[0], !c.definitions) << name;
            // A map with addresses, then one without them; the window moved.
            dlg.OpenFile(board.c_str());
            EXPECT_EQ(view->columnWidth(CPropTreeModel::AddressColumn) == widths[2], !c.definitions) << name;
            dlg.OpenFile(timers.c_str());
            dlg.m_hWnd->setGeometry(c.moved);
            QApplication::processEvents();
        });
        EXPECT_EQ(run.events, c.events) << name;
        const CAppSettings left;
        EXPECT_EQ(left.RecentMaps(), (std::vector<std::string>{timers, board})) << name << ": maps opened are recent maps";
        EXPECT_EQ(left.WindowGeometry(), c.kept) << name;
        EXPECT_EQ(left.ColumnWidths(), widths) << name;
    }
}

// The first SVD map widens a window to its columns. A start from a terminal
// widens its own window too, but remembers neither its place nor that it was
// fitted, so a desktop start after it is still fitted and keeps that.
TEST(GuiDesktop, AStartFromATerminalWidensForAnSvdMapAndRemembersNothingOfIt) {
    const TempDir folder, config;
    folder.Write("tavlin.xml", kDefinitions);
    const std::string chip = folder.Write("chip.svd", ReadExampleFile("chip.svd"));
    const CurrentDir current(folder.Path());
    const ConfigHome home(config.Path());
    const QRect remembered(40, 50, 320, 410);
    CAppSettings().SetWindowGeometry(remembered);
    const struct {
        std::vector<std::string> arguments;
        int narrow;   // the window's width before the map, at most
        bool fitted;  // remembered as fitted after, with the fitted place
    } starts[] = {
        {{"tavlin"}, 300, false},
        {{"tavlin", "--desktop"}, 320, true},
    };
    for (const auto& c : starts) {
        int widened = 0;
        StartMainWindow(c.arguments, [&](CRegisterDlg& dlg) {
            dlg.OpenFile(chip.c_str());
            widened = dlg.m_hWnd->width();
        });
        const std::string name = c.arguments.back();
        EXPECT_GT(widened, c.narrow) << name;
        const CAppSettings left;
        EXPECT_EQ(left.FittedToMap(), c.fitted) << name;
        ASSERT_TRUE(left.WindowGeometry()) << name;
        EXPECT_EQ(left.WindowGeometry()->width(), c.fitted ? widened : remembered.width()) << name;
        EXPECT_EQ(left.WindowGeometry()->top(), remembered.top()) << name;
        EXPECT_EQ(left.WindowGeometry()->height(), remembered.height()) << name;
    }
}

// A remembered place is taken within the screen as it is now, which may be
// smaller than the one the window was last on: the window keeps its size up
// to the screen's and is moved onto the screen when it was partly off it.
TEST(GuiDesktop, TheRememberedPlaceIsTakenWithinTheScreen) {
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    const struct {
        QRect kept;
        QSize size;
        bool moved;  // to the screen's top left, give or take the window's frame
    } cases[] = {
        {QRect(room.left() + 40, room.top() + 50, 320, 240), QSize(320, 240), false},
        {QRect(room.left() - 20, room.top() - 30, 320, 240), QSize(320, 240), true},
        {QRect(room.right() - 100, room.top() + 50, 320, 240), QSize(320, 240), true},
        {QRect(room.left() + 100, room.top() + 100, room.width() * 2, room.height() * 3), room.size(), true},
    };
    for (const auto& c : cases) {
        const TempDir folder, config;
        const CurrentDir current(folder.Path());
        const ConfigHome home(config.Path());
        CAppSettings().SetWindowGeometry(c.kept);
        StartMainWindow({"tavlin", "--desktop"}, [&](CRegisterDlg& dlg) {
            const QRect shown = dlg.m_hWnd->geometry();
            const QRect frame = dlg.m_hWnd->frameGeometry();
            EXPECT_EQ(shown.size(), c.size) << c.kept.x() << "," << c.kept.y();
            if (c.moved)
                EXPECT_EQ(frame.topLeft(), room.topLeft()) << c.kept.x() << "," << c.kept.y();
            else
                EXPECT_EQ(shown.topLeft(), c.kept.topLeft()) << c.kept.x() << "," << c.kept.y();
        });
    }
}

// A place the user gave is kept as Qt records it, and the next desktop start
// takes it back from that record; the rectangle is kept beside it.
TEST(GuiDesktop, TheNextStartTakesBackThePlaceTheUserGave) {
    const TempDir folder, config;
    const CurrentDir current(folder.Path());
    const ConfigHome home(config.Path());
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect given(room.left() + 30, room.top() + 40, 420, 380);
    StartMainWindow({"tavlin", "--desktop"}, [&](CRegisterDlg& dlg) {
        dlg.m_hWnd->setGeometry(given);
        QApplication::processEvents();
    });
    const CAppSettings kept;
    EXPECT_FALSE(kept.WindowState().isEmpty());
    EXPECT_EQ(kept.WindowGeometry(), given);
    StartMainWindow({"tavlin", "--desktop"}, [&](CRegisterDlg& dlg) { EXPECT_EQ(dlg.m_hWnd->geometry(), given); });
    // A rectangle given alone (as settings an older tavlin wrote) drops the record and is taken as it stands.
    const QRect older(room.left() + 50, room.top() + 60, 400, 300);
    CAppSettings().SetWindowGeometry(older);
    EXPECT_TRUE(CAppSettings().WindowState().isEmpty());
    StartMainWindow({"tavlin", "--desktop"}, [&](CRegisterDlg& dlg) { EXPECT_EQ(dlg.m_hWnd->geometry(), older); });
}

// A config folder where the settings file cannot be written (here its
// folder is a file) costs what would be kept, and nothing more: no box, and
// the map opens.
TEST(GuiDesktop, SettingsThatCannotBeWrittenStopNothing) {
    const TempDir folder, config;
    config.Write("tavlin", "not a folder");
    const CurrentDir current(folder.Path());
    const ConfigHome home(config.Path());
    const std::string board = folder.Write("board.svd", kBoard);
    const GuiRun run = StartMainWindow({"tavlin", "--desktop"}, [&](CRegisterDlg& dlg) {
        ASSERT_NE(ShownStartPanel(dlg), nullptr);
        dlg.OpenFile(board.c_str());
        EXPECT_NE(FindRow(dlg.Tree(), {"GPIO", "ODR"}), nullptr);
        dlg.m_hWnd->setGeometry(QRect(30, 30, 400, 400));
        QApplication::processEvents();
    });
    EXPECT_EQ(run.events, std::vector<std::string>{"main"});
}

TEST(DesktopSettings, RecentMapsAreTheLatestFirstEachOnceAndAtMostTen) {
    const TempDir dir;
    CAppSettings settings(QString::fromStdString((dir.Path() / "tavlin.conf").string()));
    const struct {
        std::vector<std::string> added;
        std::vector<std::string> recent;
    } steps[] = {
        {{"/m/a.svd"}, {"/m/a.svd"}},
        {{"/m/b.svd"}, {"/m/b.svd", "/m/a.svd"}},
        {{"/m/a.svd"}, {"/m/a.svd", "/m/b.svd"}},
        {{"/m/1", "/m/2", "/m/3", "/m/4", "/m/5", "/m/6", "/m/7", "/m/8", "/m/9"},
         {"/m/9", "/m/8", "/m/7", "/m/6", "/m/5", "/m/4", "/m/3", "/m/2", "/m/1", "/m/a.svd"}},
        {{"/m/5"}, {"/m/5", "/m/9", "/m/8", "/m/7", "/m/6", "/m/4", "/m/3", "/m/2", "/m/1", "/m/a.svd"}},
    };
    for (const auto& step : steps) {
        for (const std::string& path : step.added) settings.AddRecentMap(path);
        EXPECT_EQ(settings.RecentMaps(), step.recent) << step.added.back();
    }
}

TEST(DesktopSettings, OnlyWidthsAndPlacesThatCanBeUsedAreGivenBack) {
    const TempDir dir;
    CAppSettings settings(QString::fromStdString((dir.Path() / "tavlin.conf").string()));
    const struct {
        QList<int> kept, given;
    } widths[] = {
        {{150, 70, 95}, {150, 70, 95}},
        {{150, 70, 0}, {150, 70}},
        {{150, 0, 95}, {150}},  // each width stays with its column
        {{-4, 70}, {}},
        {{9000, 70}, {4000, 70}},
    };
    for (const auto& c : widths) {
        settings.SetColumnWidths(c.kept);
        EXPECT_EQ(settings.ColumnWidths(), c.given) << c.kept.value(0) << ", " << c.kept.value(1);
    }
    const struct {
        QRect kept;
        std::optional<QRect> given;
    } places[] = {
        {QRect(40, 50, 620, 410), QRect(40, 50, 620, 410)},
        {QRect(-20, -30, 620, 410), QRect(-20, -30, 620, 410)},  // partly off screen: the window is moved when shown
        {QRect(40, 50, 99, 410), std::nullopt},
        {QRect(40, 50, 620, 0), std::nullopt},
    };
    for (const auto& c : places) {
        settings.SetWindowGeometry(c.kept);
        EXPECT_EQ(settings.WindowGeometry(), c.given) << c.kept.width() << "x" << c.kept.height();
    }
}

}  // namespace
