// SPDX-License-Identifier: MIT
#pragma once
// The Qt window of a dialog: built from its template, it turns window events
// into messages to the dialog's window object.
#include <QDialog>
#include <QSize>
#include <optional>
#include <utility>
#include <vector>

#include "framework/DialogTemplate.h"

class CWnd;
class QMenuBar;
class QPaintEvent;

class DialogWidget : public QDialog {
public:
    DialogWidget(CWnd* owner, const DialogTemplate& tmpl, QWidget* parent);

    // The control built from the template entry with `id`, or null.
    QWidget* Control(int id) const;
    // The client area: the parent of the controls, below the menu bar when
    // there is one. Its size is the size the dialog is told of and lays out by.
    QWidget* Client() const { return m_client; }
    // The client area's size, also before the window is shown.
    QSize ClientSize() const;
    // The menu bar across the top, made on first use.
    QMenuBar* MenuBar();
    // Places the outer frame at (x, y) with size cx by cy. The frame of a
    // window not yet shown is unknown, so it is sized again once shown.
    void PlaceFrame(int x, int y, int cx, int cy);
    // The painting that happens when the dialog does not paint itself.
    void DefaultPaint();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    // Pixels of a length in dialog units, by the dialog font.
    int DialogUnitsX(int units) const { return (units * m_baseX + 2) / 4; }
    int DialogUnitsY(int units) const { return (units * m_baseY + 4) / 8; }
    void BuildControl(const DialogControl& control);
    void SendSize(UINT type, int width, int height);
    void SendContextMenu(QPoint globalPos);
    // Places the menu bar and the client area in the frame.
    void PlaceClient();

    CWnd* m_owner;
    QWidget* m_client = nullptr;
    QMenuBar* m_menuBar = nullptr;
    int m_baseX = 6;
    int m_baseY = 13;
    std::vector<std::pair<int, QWidget*>> m_controls;  // by template id, in tab order
    std::optional<QSize> m_pendingOuterSize;           // asked for while hidden
    QSize m_placedSize;                                // the size PlaceFrame gave while hidden
    QPaintEvent* m_paintEvent = nullptr;
};
