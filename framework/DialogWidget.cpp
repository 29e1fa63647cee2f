// SPDX-License-Identifier: MIT
#include "framework/DialogWidget.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QResizeEvent>
#include <QUrl>
#include <utility>

#include "framework/DropFiles.h"
#include "framework/Wnd.h"

namespace {
constexpr UINT SIZE_RESTORED = 0;
constexpr UINT SIZE_MINIMIZED = 1;
constexpr UINT BN_CLICKED = 0;

// The one local file a drag carries, or an empty text when it carries
// anything else: text, a remote address, more than one file. The file is
// only read, so the drag must offer to copy it.
QString DraggedFile(const QDropEvent& event) {
    const QMimeData* data = event.mimeData();
    if (!data || !data->hasUrls() || !(event.possibleActions() & Qt::CopyAction)) return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile()) return {};
    return urls.front().toLocalFile();
}

void AnswerDrag(QDropEvent* event) {
    if (DraggedFile(*event).isEmpty()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}
}  // namespace

DialogWidget::DialogWidget(CWnd* owner, const DialogTemplate& tmpl, QWidget* parent)
    : QDialog(parent), m_owner(owner), m_client(new QWidget(this)) {
    QFont font(QString::fromLatin1(tmpl.fontName ? tmpl.fontName : ""), tmpl.pointSize > 0 ? tmpl.pointSize : 8);
    setFont(font);
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseX = std::max(1, (letters / 26 + 1) / 2);
    m_baseY = std::max(1, metrics.height());

    setWindowTitle(QString::fromUtf8(tmpl.caption ? tmpl.caption : ""));
    Qt::WindowFlags flags = Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint;
    if (tmpl.style & WS_SYSMENU) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    setWindowFlags(flags);
    setSizeGripEnabled(false);
    move(DialogUnitsX(tmpl.x), DialogUnitsY(tmpl.y));
    resize(DialogUnitsX(tmpl.cx), DialogUnitsY(tmpl.cy));
    if (!(tmpl.style & WS_THICKFRAME)) setFixedSize(size());
    PlaceClient();
    for (const DialogControl& control : tmpl.controls) BuildControl(control);
}

QSize DialogWidget::ClientSize() const {
    const int menu = m_menuBar ? m_menuBar->sizeHint().height() : 0;
    return {width(), std::max(height() - menu, 0)};
}

QMenuBar* DialogWidget::MenuBar() {
    if (!m_menuBar) {
        m_menuBar = new QMenuBar(this);
        // Its own window's menu bar, never the desktop's global one.
        m_menuBar->setNativeMenuBar(false);
        PlaceClient();
        m_menuBar->show();
    }
    return m_menuBar;
}

void DialogWidget::PlaceClient() {
    const QSize client = ClientSize();
    if (m_menuBar) m_menuBar->setGeometry(0, 0, width(), height() - client.height());
    m_client->setGeometry(0, height() - client.height(), client.width(), client.height());
}

void DialogWidget::BuildControl(const DialogControl& control) {
    QWidget* widget = nullptr;
    const QString text = QString::fromUtf8(control.text ? control.text : "");
    const int id = control.id;
    CWnd* owner = m_owner;
    switch (control.cls) {
    case ControlClass::Edit: {
        auto* edit = new QLineEdit(text, m_client);
        edit->setFrame((control.style & WS_BORDER) != 0);
        connect(edit, &QLineEdit::textChanged, this, [owner, id, edit]() {
            owner->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<UINT>(id), EN_CHANGE), reinterpret_cast<LPARAM>(edit));
        });
        // An edit box takes dragged text itself, but a dragged file is for the dialog.
        edit->installEventFilter(this);
        widget = edit;
        break;
    }
    case ControlClass::Static: {
        auto* label = new QLabel(text, m_client);
        label->setTextFormat(Qt::PlainText);
        if (control.style & SS_CENTER) label->setAlignment(Qt::AlignCenter);
        if (control.style & SS_SUNKEN) label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        widget = label;
        break;
    }
    case ControlClass::Button: {
        auto* button = new QPushButton(text, m_client);
        button->setDefault((control.style & BS_DEFPUSHBUTTON) != 0);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [owner, id, button]() {
            owner->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<UINT>(id), BN_CLICKED), reinterpret_cast<LPARAM>(button));
        });
        widget = button;
        break;
    }
    }
    m_controls.emplace_back(id, widget);
    widget->setFocusPolicy((control.style & WS_TABSTOP) ? Qt::StrongFocus : Qt::NoFocus);
    widget->setGeometry(DialogUnitsX(control.x), DialogUnitsY(control.y), DialogUnitsX(control.cx),
                        DialogUnitsY(control.cy));
}

QWidget* DialogWidget::Control(int id) const {
    for (const auto& [controlId, widget] : m_controls)
        if (controlId == id) return widget;
    return nullptr;
}

void DialogWidget::PlaceFrame(int x, int y, int cx, int cy) {
    const QSize frameExtra = frameGeometry().size() - size();
    move(x, y);
    resize(std::max(cx - frameExtra.width(), 0), std::max(cy - frameExtra.height(), 0));
    if (!isVisible()) {
        m_pendingOuterSize = QSize(cx, cy);
        m_placedSize = size();
    }
}

void DialogWidget::DefaultPaint() {
    if (m_paintEvent) QDialog::paintEvent(m_paintEvent);
}

void DialogWidget::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_pendingOuterSize) return;
    const QSize outer = *std::exchange(m_pendingOuterSize, std::nullopt);
    // A size given since (a window placed where it was last) is not the placed one's to undo.
    if (size() != m_placedSize) return;
    const QSize frameExtra = frameGeometry().size() - size();
    const QSize wanted = outer - frameExtra;
    resize(std::max(wanted.width(), 0), std::max(wanted.height(), 0));
}

void DialogWidget::keyPressEvent(QKeyEvent* event) {
    const bool alt = (event->modifiers() & Qt::AltModifier) != 0;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_owner->SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return;
    case Qt::Key_Escape:
        m_owner->SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return;
    case Qt::Key_F1:
        m_owner->SendMessage(WM_COMMAND, MAKEWPARAM(ID_HELP, 0), 0);
        return;
    case Qt::Key_Space:
        if (alt) {
            SendContextMenu(mapToGlobal(QPoint(0, 0)));
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void DialogWidget::closeEvent(QCloseEvent* event) {
    // The close box is the Close command; the dialog ends itself.
    event->ignore();
    m_owner->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
}

void DialogWidget::reject() { m_owner->SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }

void DialogWidget::SendSize(UINT type, int width, int height) {
    m_owner->SendMessage(WM_SIZE, type, MAKELPARAM(width, height));
}

void DialogWidget::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    PlaceClient();
    const QSize client = ClientSize();
    if (!isMinimized()) SendSize(SIZE_RESTORED, client.width(), client.height());
}

void DialogWidget::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    if (isMinimized())
        SendSize(SIZE_MINIMIZED, 0, 0);
    else
        SendSize(SIZE_RESTORED, ClientSize().width(), ClientSize().height());
}

void DialogWidget::paintEvent(QPaintEvent* event) {
    m_paintEvent = event;
    m_owner->SendMessage(WM_PAINT, 0, 0);
    m_paintEvent = nullptr;
}

void DialogWidget::contextMenuEvent(QContextMenuEvent* event) { SendContextMenu(event->globalPos()); }

void DialogWidget::SendContextMenu(QPoint globalPos) {
    m_owner->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(static_cast<QWidget*>(this)),
                         MAKELPARAM(globalPos.x(), globalPos.y()));
}

bool DialogWidget::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    const bool dragging = type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop;
    if (!dragging || !acceptDrops()) return QDialog::eventFilter(watched, event);
    // Only now is the event known to be a drop event.
    auto* drag = static_cast<QDropEvent*>(event);
    if (DraggedFile(*drag).isEmpty()) return QDialog::eventFilter(watched, event);
    if (type == QEvent::Drop)
        dropEvent(drag);
    else
        AnswerDrag(drag);
    return true;
}

void DialogWidget::dragEnterEvent(QDragEnterEvent* event) { AnswerDrag(event); }

void DialogWidget::dragMoveEvent(QDragMoveEvent* event) { AnswerDrag(event); }

void DialogWidget::dropEvent(QDropEvent* event) {
    AnswerDrag(event);
    if (!event->isAccepted()) return;
    // The dialog opens the file after the drop is over, as a posted message:
    // its handler may show boxes, which must not run inside the drag.
    const std::string path = DraggedFile(*event).toUtf8().toStdString();
    CWnd* owner = m_owner;
    QMetaObject::invokeMethod(
        this,
        [owner, path]() {
            const DropFiles drop{{path}};
            owner->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(&drop), 0);
        },
        Qt::QueuedConnection);
}
