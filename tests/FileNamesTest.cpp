// SPDX-License-Identifier: MIT
// File names of any characters reach the file and come back as given: maps,
// values files, raw images, saved values and traces under folders named in
// German, Russian and Japanese, with spaces, and deeper than Windows' old
// 260-character limit, from the command line, the file dialog, a drop and
// Open recent.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <filesystem>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "framework/FileDialog.h"
#include "platform/FilePaths.h"
#include "remote/PacketTrace.h"
#include "tests/CommandLineRun.h"
#include "tests/ExampleFiles.h"
#include "tests/GuiHarness.h"
#include "tests/RowPath.h"
#include "tests/TempDir.h"
#include "ui/AppSettings.h"
#include "ui/RegisterDlg.h"

namespace {

struct NamedPlace {
    const char* what;
    std::string folder;  // under the test's folder, UTF-8
    std::string map;     // the map's file name, UTF-8
};

std::vector<NamedPlace> Places() {
    const std::string deep = "a folder name of many characters " + std::string(80, 'x');
    return {
        {"plain", "maps", "chip.svd"},
        {"non-ASCII", "Jörg/Документы/日本", "Öl チップ.svd"},
        {"spaces", "My Maps/ chip files", "my chip.svd"},
        {"longer than 260 characters", deep + "/" + deep + "/Документы " + std::string(60, 'y'), "chip.svd"},
    };
}

// The bytes written to `name` under `folder` (made as needed), and the file's UTF-8 name.
std::string WriteUnder(const std::filesystem::path& root, const std::string& folder, const std::string& name,
                       const std::string& bytes) {
    const std::string dir = Utf8FromPath(root) + "/" + folder;
    std::filesystem::create_directories(PathFromUtf8(dir));
    const std::string path = dir + "/" + name;
    std::ofstream out(PathFromUtf8(path), std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string ReadUtf8Named(const std::string& path) { return ReadWholeFile(PathFromUtf8(path)); }

std::string WithoutName(std::string text, const std::string& name) {
    for (std::size_t at; (at = text.find(name)) != std::string::npos;) text.replace(at, name.size(), "FILE");
    return text;
}

// Runs tavlin with `args` and gives what it prints with `name` written FILE.
std::string Printed(const std::vector<std::string>& args, const std::string& name) {
    const Outcome run = RunTavlin(args);
    return "exit " + std::to_string(run.code.value_or(-1)) + "\n" + WithoutName(run.out, name) + "--\n" +
           WithoutName(run.err, name);
}

TEST(FileNames, NameHelpersKeepEveryCharacter) {
    for (const NamedPlace& place : Places()) {
        const std::string path = place.folder + "/" + place.map;
        EXPECT_EQ(Utf8FileName(path), place.map) << place.what;
        EXPECT_EQ(Utf8ParentFolder(path), place.folder) << place.what;
        EXPECT_EQ(Utf8FileName(Utf8AbsolutePath(path)), place.map) << place.what;
    }
}

TEST(FileNames, TheCommandLineChecksAndDecodesThroughEveryName) {
    TempDir dir;
    std::string expected[3];
    const std::string dump = "0x40021000 <RCC>:\t0x03010083\t0x001d0402\nUART0.CTRL = 0xc\n";
    const std::string image("\x83\x00\x01\x03\x02\x04\x1d\x00", 8);
    for (const NamedPlace& place : Places()) {
        const std::string map = WriteUnder(dir.Path(), place.folder, place.map, ReadExampleFile("chip.svd"));
        const std::string values = WriteUnder(dir.Path(), place.folder, "Werte für " + place.map + ".txt", dump);
        const std::string raw = WriteUnder(dir.Path(), place.folder, "образ.bin", image);
        ASSERT_EQ(ReadUtf8Named(map), ReadExampleFile("chip.svd")) << place.what;
        const std::string printed[3] = {
            Printed({"--check", map}, map),
            WithoutName(Printed({"--decode", map, values}, map), values),
            WithoutName(Printed({"--decode", map, raw, "--base", "0x40021000"}, map), raw),
        };
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(printed[i].rfind("exit 0\n", 0), 0u) << place.what << "\n" << printed[i];
            if (expected[i].empty()) expected[i] = printed[i];
            EXPECT_EQ(printed[i], expected[i]) << place.what;
        }
    }
}

TEST(FileNames, TracesAreWrittenThroughEveryName) {
    TempDir dir;
    for (const NamedPlace& place : Places()) {
        const std::string path = WriteUnder(dir.Path(), place.folder, "trace " + place.map + ".txt", "old");
        {
            auto trace = CPacketTrace::OpenFile(path);
            ASSERT_TRUE(trace) << place.what << ": " << trace.Text();
            trace.Value()->Sent("$g#67");
        }
        const std::string text = ReadUtf8Named(path);
        EXPECT_NE(text.find("Sending packet: $g#67\n"), std::string::npos) << place.what << ": " << text;
    }
}

const char* const kStart = R"(<tavlin><regset n="Start" d="s">
<register n="R0" w="8" v="0" d="r"><field n="F" k="edit" d="f" l="0" h="7"></field></register></regset></tavlin>)";

bool Drop(QWidget* under, const std::string& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromUtf8(path.c_str()))});
    QWidget* target = under;
    while (!target->acceptDrops() && !target->isWindow()) target = target->parentWidget();
    QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPoint(2, 2), Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QApplication::processEvents();
    return drop.isAccepted();
}

TEST(FileNames, TheWindowOpensSavesDropsAndRemembersEveryName) {
    TempDir dir;
    for (const NamedPlace& place : Places()) {
        const std::string map = WriteUnder(dir.Path(), place.folder, place.map, ReadExampleFile("chip.svd"));
        const std::string saved = Utf8ParentFolder(map) + "/gespeichert " + place.map + ".txt";
        RunMainDialog(kStart, [&](CRegisterDlg& dlg) {
            OpenMapFile(dlg, map);
            ASSERT_NE(FindRow(dlg.Tree(), {"RCC", "CR"}), nullptr) << place.what;
            EXPECT_NE(dlg.m_hWnd->windowTitle().toStdString().find(place.map), std::string::npos) << place.what;
            ASSERT_FALSE(dlg.Settings().RecentMaps().empty());
            // Kept as the window holds it (absolute, in the system's separators), every character intact.
            EXPECT_EQ(Utf8AbsolutePath(dlg.Settings().RecentMaps().front()), Utf8AbsolutePath(map)) << place.what;

            // Saved values go to the name chosen, with LF line ends.
            CFileDialog::SetChooser([&saved](const CFileDialog&) { return saved; });
            PressInTree(dlg, Qt::Key_S, Qt::ControlModifier);
            const std::string text = ReadUtf8Named(saved);
            EXPECT_EQ(text.rfind("# tavlin values for " + place.map + "\nRCC.CR = 0x00000083\n", 0), 0u)
                << place.what << ": " << text;
            EXPECT_EQ(text.find('\r'), std::string::npos) << place.what;

            // A dropped map opens by its name.
            OpenMapFile(dlg, Utf8FromPath(SourceTreePath() / "examples" / "tavlin.xml"));
            EXPECT_EQ(dlg.m_hWnd->windowTitle().toStdString().find(place.map), std::string::npos);
            EXPECT_TRUE(Drop(TreeWindow(dlg)->View(), map)) << place.what;
            EXPECT_NE(dlg.m_hWnd->windowTitle().toStdString().find(place.map), std::string::npos) << place.what;
            EXPECT_NE(FindRow(dlg.Tree(), {"RCC", "CR"}), nullptr) << place.what;
            EXPECT_EQ(Utf8AbsolutePath(dlg.Settings().RecentMaps().front()), Utf8AbsolutePath(map)) << place.what;

            // Open recent lists it by its name and opens it again.
            OpenMapFile(dlg, Utf8FromPath(SourceTreePath() / "examples" / "tavlin.xml"));
            const MenuCommand recent = FindCommand(dlg, "Open recent");
            ASSERT_NE(recent.action, nullptr);
            ASSERT_NE(recent.action->menu(), nullptr);
            recent.menu->popup(dlg.m_hWnd->mapToGlobal(QPoint(0, 0)));
            QAction* entry = nullptr;
            for (QAction* action : recent.action->menu()->actions())
                if (Utf8AbsolutePath(action->text().toUtf8().toStdString()) == Utf8AbsolutePath(map)) entry = action;
            recent.menu->hide();
            ASSERT_NE(entry, nullptr) << place.what;
            entry->trigger();
            EXPECT_NE(dlg.m_hWnd->windowTitle().toStdString().find(place.map), std::string::npos) << place.what;
        });
    }
}

}  // namespace
