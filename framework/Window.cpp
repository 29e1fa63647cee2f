#include "framework/Window.h"

#include <QObject>
#include <QPointer>
#include <QVariant>
#include <QWidget>
#include <unordered_map>

namespace {

constexpr const char* kCtrlIdProperty = "tavlinCtrlId";

// One link per attached window: lives as long as both the widget and the
// window object; whichever goes first breaks it.
struct Link {
    QPointer<QWidget> widget;
    QMetaObject::Connection onDestroyed;
};

std::unordered_map<CWnd*, Link>& Links() {
    static std::unordered_map<CWnd*, Link> links;
    return links;
}

void Detach(CWnd* wnd) {
    auto& links = Links();
    const auto it = links.find(wnd);
    if (it == links.end()) return;
    QObject::disconnect(it->second.onDestroyed);
    links.erase(it);
}

}  // namespace

void AfxAttachWindow(CWnd* wnd, QWidget* widget) {
    static const bool installed = (AfxSetWindowDetachHook(&Detach), true);
    (void)installed;
    Detach(wnd);
    wnd->m_hWnd = widget;
    if (!widget) return;
    Link link;
    link.widget = widget;
    link.onDestroyed = QObject::connect(widget, &QObject::destroyed, [wnd]() {
        wnd->m_hWnd = nullptr;
        Links().erase(wnd);
    });
    Links()[wnd] = link;
}

CWnd* AfxWindowFromWidget(QWidget* widget) {
    for (const auto& [wnd, link] : Links())
        if (link.widget == widget) return wnd;
    return nullptr;
}

int AfxControlId(const QWidget* widget) { return widget ? widget->property(kCtrlIdProperty).toInt() : 0; }

void AfxSetControlId(QWidget* widget, int id) { widget->setProperty(kCtrlIdProperty, id); }

BOOL IsWindow(HWND hWnd) { return hWnd != nullptr; }
