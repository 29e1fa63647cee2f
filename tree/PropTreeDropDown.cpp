// SPDX-License-Identifier: MIT
#include "tree/PropTreeDropDown.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QTimer>

void CPropTreeDropDown::showPopup() {
    QComboBox::showPopup();
    // The list's window closes itself on Escape or a click outside it,
    // without going through hidePopup(), so its hiding is watched instead.
    if (!m_bWatching && view() && view()->window() != window()) {
        view()->window()->installEventFilter(this);
        m_bWatching = true;
    }
}

bool CPropTreeDropDown::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Hide && watched == view()->window()) {
        // A click on an entry hides the list first and reports the choice
        // right after; only when none came is the edit cancelled.
        QTimer::singleShot(0, this, [this]() {
            if (!m_bChosen) emit cancelled();
        });
    }
    return QComboBox::eventFilter(watched, event);
}
