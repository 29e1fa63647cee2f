// SPDX-License-Identifier: MIT
// The window at a display scale of 150 % or 200 % (--scale=1.5, --scale=2;
// Qt's QT_SCALE_FACTOR, set before the application starts): drawn at the
// screen's own pixels, so it is sharp, and laid out so that no box, label or
// button cuts its text and every cell of the bit grid holds its digit.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QString>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/RegisterApp.h"
#include "platform/FilePaths.h"
#include "tests/ExampleFiles.h"
#include "tests/GuiHarness.h"
#include "tests/RowPath.h"
#include "tests/TempDir.h"
#include "ui/BitGrid.h"
#include "ui/RegisterCommands.h"
#include "ui/RegisterDlg.h"

namespace {

double g_scale = 2.0;

const char* const kStart = R"(<tavlin><regset n="Start" d="s">
<register n="R0" w="8" v="0" d="r"><field n="F" k="edit" d="f" l="0" h="7"></field></register></regset></tavlin>)";

std::string Named(const QWidget* widget) {
    return widget->metaObject()->className() + std::string(" ") + widget->objectName().toStdString();
}

// Whether `widget` shows all of `text` on one line in the width it has; false for no such text.
bool ExpectFits(const QWidget* widget, QString text, int room, const std::string& where) {
    text.remove(QLatin1Char('&'));
    if (text.isEmpty() || text.contains(QLatin1Char('\n'))) return false;
    EXPECT_LE(widget->fontMetrics().horizontalAdvance(text), room)
        << where << ": " << Named(widget) << " cuts \"" << text.toStdString() << "\" at scale " << g_scale;
    return true;
}

// How many texts were looked at.
int ExpectNothingCut(QWidget* window, const std::string& where) {
    int texts = 0;
    for (QWidget* child : window->findChildren<QWidget*>()) {
        if (!child->isVisible()) continue;
        if (const auto* box = qobject_cast<QLineEdit*>(child)) {
            texts += ExpectFits(box, box->text(), box->contentsRect().width() - 4, where);
        } else if (const auto* label = qobject_cast<QLabel*>(child)) {
            if (!label->wordWrap() && label->textFormat() != Qt::RichText)
                texts += ExpectFits(label, label->text(), label->contentsRect().width(), where);
        } else if (const auto* button = qobject_cast<QAbstractButton*>(child)) {
            texts += ExpectFits(button, button->text(), button->width(), where);
        }
    }
    return texts;
}

TEST(HighDpi, TheWindowIsDrawnAtTheScreensPixelsAndCutsNothing) {
    TempDir dir;
    const std::string chip = dir.Write("chip.svd", ReadExampleFile("chip.svd"));
    RunMainDialog(kStart, [&](CRegisterDlg& dlg) {
        QWidget* window = dlg.m_hWnd;
        EXPECT_DOUBLE_EQ(window->devicePixelRatioF(), g_scale);
        ExpectNothingCut(window, "the start");

        OpenMapFile(dlg, chip);
        for (const std::vector<std::string>& row :
             {std::vector<std::string>{"RCC", "CFGR"}, {"DMA", "CH[1].CTRL"}, {"UART0", "CTRL"}}) {
            CPropTreeItem* item = FindRow(dlg.Tree(), row);
            ASSERT_NE(item, nullptr) << row.back();
            ClickRow(dlg, item);
            QApplication::processEvents();
            const QPixmap grab = window->grab();
            EXPECT_DOUBLE_EQ(grab.devicePixelRatio(), g_scale) << row.back();
            EXPECT_EQ(grab.width(), qRound(window->width() * g_scale)) << row.back();
            EXPECT_EQ(grab.height(), qRound(window->height() * g_scale)) << row.back();
            EXPECT_GE(ExpectNothingCut(window, row.back()), 2) << "the hex and decimal boxes";

            const CBitGrid* grid = dlg.Commands().Grid();
            ASSERT_TRUE(grid->isVisible());
            const int digit = grid->fontMetrics().horizontalAdvance(QLatin1Char('0'));
            for (int bit = 0; bit < 32; ++bit) {
                const QRect cell = grid->CellRect(bit);
                EXPECT_GE(cell.width(), digit) << row.back() << " bit " << bit << " at scale " << g_scale;
                EXPECT_GE(cell.height(), grid->fontMetrics().height()) << row.back() << " bit " << bit;
                EXPECT_TRUE(grid->rect().contains(cell)) << row.back() << " bit " << bit;
            }
        }
    });
}

}  // namespace

// As the other window tests' main, with the display scale given first.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.rfind("--scale=", 0) == 0) g_scale = std::strtod(argument.c_str() + 8, nullptr);
    }
    qputenv("QT_SCALE_FACTOR", QByteArray::number(g_scale));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // What the window keeps goes to a folder of the test's own, never to the user's settings.
    TempDir config;
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(Utf8FromPath(config.Path())));
    static CRegisterApp app;
    QApplication qapp(argc, argv);
    return RUN_ALL_TESTS();
}
