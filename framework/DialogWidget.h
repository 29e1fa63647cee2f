#pragma once
// The Qt window of a CDialog: built from its template, it turns window
// events into the dialog's messages.
#include <QDialog>

#include "framework/DialogTemplate.h"

class CDialog;

// The outer size asked for while a window was hidden.
inline constexpr const char* kOuterSizeProperty = "tavlinOuterSize";
class QPaintEvent;

class DialogWidget : public QDialog {
public:
    DialogWidget(CDialog* owner, const DialogTemplate& tmpl, QWidget* parent);

    // Pixels of a length in dialog units, by the dialog font.
    int DialogUnitsX(int units) const { return (units * m_baseX + 2) / 4; }
    int DialogUnitsY(int units) const { return (units * m_baseY + 4) / 8; }

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
    void BuildControl(const DialogControl& control);
    void SendSize(UINT type, int width, int height);

    CDialog* m_owner;
    int m_baseX = 6;
    int m_baseY = 13;
    QPaintEvent* m_paintEvent = nullptr;
};
