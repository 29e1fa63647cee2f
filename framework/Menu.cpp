// SPDX-License-Identifier: MIT
#include "framework/Menu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QWidget>

#include "framework/Wnd.h"

CMenu::CMenu(CWnd* owner, UINT message) : m_owner(owner), m_message(message), m_menu(new QMenu) {}

CMenu::~CMenu() { delete m_menu; }

BOOL CMenu::AppendMenu(UINT flags, UINT id, LPCTSTR text) {
    if (flags & MF_SEPARATOR) {
        m_menu->addSeparator();
        return TRUE;
    }
    QString label = QString::fromUtf8(text ? text : "");
    QString key;
    if (const qsizetype tab = label.indexOf(QLatin1Char('\t')); tab >= 0) {
        key = label.mid(tab + 1);
        label.truncate(tab);
    }
    QAction* action = m_menu->addAction(label);
    action->setData(static_cast<uint>(id));
    CWnd* owner = m_owner;
    const UINT message = m_message;
    QObject::connect(action, &QAction::triggered, [owner, message, id]() { owner->SendMessage(message, id, 0); });
    if (!key.isEmpty()) {
        // Shown beside the entry, and live in the whole owner window, not
        // only while the menu is open.
        action->setShortcut(QKeySequence(key, QKeySequence::PortableText));
        if (owner && owner->m_hWnd) owner->m_hWnd->addAction(action);
    }
    return TRUE;
}

QAction* CMenu::GetAction(UINT id) const {
    for (QAction* action : m_menu->actions())
        if (!action->isSeparator() && action->data().toUInt() == id) return action;
    return nullptr;
}
