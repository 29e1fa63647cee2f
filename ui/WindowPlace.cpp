// SPDX-License-Identifier: MIT
#include "ui/WindowPlace.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <optional>

#include "tree/PropTreeItem.h"
#include "tree/PropTreeModel.h"
#include "tree/PropTreeView.h"
#include "ui/AppSettings.h"

namespace {

// Calls `changed` whenever the window it watches moves or is resized.
class GeometryWatcher : public QObject {
public:
    GeometryWatcher(QWidget& window, std::function<void()> changed) : QObject(&window), m_changed(std::move(changed)) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Move || event->type() == QEvent::Resize) m_changed();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_changed;
};

}  // namespace

bool RestoreWindowPlace(QWidget& window, const CAppSettings& settings) {
    const std::optional<QRect> remembered = settings.WindowGeometry();
    if (!remembered) return false;
    // Qt's own record, where this tavlin kept one, takes the window back within the screens as they are now.
    if (const QByteArray state = settings.WindowState(); !state.isEmpty() && window.restoreGeometry(state)) return true;
    // Settings that hold the rectangle alone (kept by an older tavlin, or just
    // fitted to a map): within the screen it is shown on now, which may be
    // smaller than the one it was on.
    QRect place = *remembered;
    const QScreen* screen = QGuiApplication::screenAt(place.center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect room = screen->availableGeometry();
        place.setSize(place.size().boundedTo(room.size()));
        if (!room.contains(place)) place.moveTopLeft(room.topLeft());
    }
    window.setGeometry(place);
    return true;
}

void KeepWindowPlace(QWidget& window, CAppSettings& settings) {
    auto keeping = std::make_shared<bool>(false);
    new GeometryWatcher(window, [&window, &settings, keeping] {
        if (*keeping && !window.isMinimized() && window.isVisible())
            settings.SetWindowState(window.saveGeometry(), window.geometry());
    });
    QTimer::singleShot(0, &window, [keeping] { *keeping = true; });
}

void KeepColumnWidths(CPropTreeWindow& treeWindow, CAppSettings& settings) {
    CPropTreeView* view = treeWindow.View();
    QObject::connect(view->header(), &QHeaderView::sectionResized, &treeWindow, [view, &settings] {
        const QList<int> kept = settings.ColumnWidths();
        QList<int> widths;
        for (int column = 0; column < CPropTreeModel::ValueColumn; ++column)
            widths.append(view->isColumnHidden(column) ? kept.value(column) : view->columnWidth(column));
        settings.SetColumnWidths(widths);
    });
}

void FitWindowToColumns(QWidget& window, CPropTreeWindow& treeWindow, CPropTreeItem* root, CAppSettings& settings,
                        bool remember) {
    if (settings.FittedToMap()) return;
    CPropTreeView* view = treeWindow.View();
    const QFontMetrics metrics(view->font());
    QFont bold = view->font();
    bold.setBold(true);  // changed rows are drawn bold
    const QFontMetrics boldMetrics(bold);
    constexpr int kMaxColumn = 640;
    int label = 0;
    int value = 0;
    const auto measure = [&](CPropTreeItem* row, int depth) {
        label = std::max(label, boldMetrics.horizontalAdvance(QString::fromUtf8(row->GetLabelText())) +
                                    depth * view->indentation());
        const QString shown = treeWindow.Model()->IndexFromItem(row, CPropTreeModel::ValueColumn).data().toString();
        value = std::max(value, boldMetrics.horizontalAdvance(shown));
    };
    for (CPropTreeItem* set = root->GetChild(); set; set = set->GetSibling()) {
        measure(set, 1);
        for (CPropTreeItem* reg = set->GetChild(); reg; reg = reg->GetSibling()) {
            measure(reg, 2);
            for (CPropTreeItem* field = reg->GetChild(); field; field = field->GetSibling()) measure(field, 3);
        }
    }
    const int padding = metrics.horizontalAdvance(QLatin1Char('M')) * 2;
    label = std::min(label + padding, kMaxColumn);
    value = std::min(value + padding, kMaxColumn);
    const int bits = view->columnWidth(CPropTreeModel::BitsColumn);
    const int address = view->columnWidth(CPropTreeModel::AddressColumn);
    const int needed = label + bits + address + value + view->verticalScrollBar()->sizeHint().width() + 8;
    QRect place = window.geometry();
    if (const QScreen* screen = window.screen()) {
        const QRect room = screen->availableGeometry();
        place.setWidth(std::min(std::max(place.width(), needed), room.width()));
        if (place.right() > room.right()) place.moveRight(room.right());
    }
    window.setGeometry(place);
    treeWindow.SetColumnWidths({label, bits, address});
    if (!remember) return;
    // Remembered at once: a window not shown yet takes this size only when it is, before its moves are kept.
    settings.SetWindowGeometry(place);
    settings.SetFittedToMap();
}
