#include "framework/Menu.h"

#include <QAction>
#include <QMenu>

#include "framework/Wnd.h"

CMenu::CMenu(CWnd* owner, UINT message) : m_owner(owner), m_message(message), m_menu(new QMenu) {}

CMenu::~CMenu() { delete m_menu; }

BOOL CMenu::AppendMenu(UINT flags, UINT id, LPCTSTR text) {
    if (flags & MF_SEPARATOR) {
        m_menu->addSeparator();
        return TRUE;
    }
    QAction* action = m_menu->addAction(QString::fromLocal8Bit(text ? text : ""));
    CWnd* owner = m_owner;
    const UINT message = m_message;
    QObject::connect(action, &QAction::triggered, [owner, message, id]() { owner->SendMessage(message, id, 0); });
    return TRUE;
}
