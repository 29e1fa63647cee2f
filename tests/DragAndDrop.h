// SPDX-License-Identifier: MIT
#pragma once
// Files dropped on the window as a file manager drops them, for the GUI tests.
#include <QApplication>
#include <QDropEvent>
#include <QList>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <memory>

// Drags `data` over `under` and drops it there, delivered as Qt does: to the
// nearest widget from `under` up that accepts drops. True when it was taken.
inline bool DragAndDrop(QWidget* under, const QMimeData& data, Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction) {
    QWidget* target = under;
    while (!target->acceptDrops() && !target->isWindow()) target = target->parentWidget();
    const QPoint at = under->mapTo(target, QPoint(2, 2));
    QDragEnterEvent enter(at, actions, &data, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(at, actions, &data, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QApplication::processEvents();  // the file opens once the drop is over
    return drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
}

// File addresses with their text as well, as file managers offer them.
inline std::unique_ptr<QMimeData> Files(const QList<QUrl>& urls) {
    auto data = std::make_unique<QMimeData>();
    data->setUrls(urls);
    data->setText(urls.front().toString());
    return data;
}
