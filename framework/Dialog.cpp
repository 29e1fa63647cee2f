// SPDX-License-Identifier: MIT
#include "framework/Dialog.h"

#include <QIcon>
#include <QMenu>
#include <QPainter>
#include <algorithm>

#include "framework/DialogWidget.h"
#include "framework/Resources.h"
#include "framework/String.h"
#include "framework/WinApp.h"

namespace {
CDialog::ModalRunner& Runner() {
    static CDialog::ModalRunner runner;
    return runner;
}
}  // namespace

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() { DestroyWindow(); }

CDialog::ModalRunner CDialog::SetModalRunner(ModalRunner runner) { return std::exchange(Runner(), std::move(runner)); }

const MessageMap* CDialog::GetMessageMap() const {
    static const MessageMapEntry entries[] = {
        OnCommandEntry<CDialog, &CDialog::OnOK>(0, IDOK),
        OnCommandEntry<CDialog, &CDialog::OnCancel>(0, IDCANCEL),
    };
    static const MessageMap map = MakeMessageMap(CWnd::GetMessageMap(), entries);
    return &map;
}

void CDialog::BuildWindow() {
    DestroyWindow();
    static const DialogTemplate kEmpty{WS_SYSMENU, 0, 0, 100, 50, "", "", 8, {}};
    const ResourceTable* resources = AfxGetResources();
    const DialogTemplate* tmpl = resources && resources->findDialog ? resources->findDialog(m_nIDTemplate) : nullptr;
    if (!tmpl) tmpl = &kEmpty;
    QWidget* parent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    m_widget = new DialogWidget(this, *tmpl, parent);
    Attach(m_widget);
    m_sysMenu.reset();
    if (tmpl->style & WS_SYSMENU) {
        m_sysMenu = std::make_unique<CMenu>(this, WM_SYSCOMMAND);
        m_sysMenu->AppendMenu(MF_STRING, SC_CLOSE, "&Close");
    }
}

void CDialog::DestroyWindow() {
    m_sysMenu.reset();
    m_controls.clear();
    if (!m_widget) return;
    DialogWidget* widget = std::exchange(m_widget, nullptr);
    delete widget;  // clears m_hWnd of this dialog and of every attached control
}

int CDialog::DoModal() {
    BuildWindow();
    m_bEnded = false;
    m_nResult = IDCANCEL;
    OnInitDialog();
    if (!m_bEnded && m_widget) {
        if (const ModalRunner runner = Runner()) {
            m_widget->show();
            const int result = runner(*this);
            if (!m_bEnded) m_nResult = result;
        } else {
            m_widget->exec();
        }
    }
    const int result = m_nResult;
    DestroyWindow();
    return result;
}

void CDialog::EndDialog(int result) {
    m_bEnded = true;
    m_nResult = result;
    if (m_widget) m_widget->done(result);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK() {
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::DragAcceptFiles(BOOL accept) {
    if (m_widget) m_widget->setAcceptDrops(accept != FALSE);
}

CMenu* CDialog::GetSystemMenu(BOOL) { return m_sysMenu.get(); }

QWidget* CDialog::GetClientWidget() const { return m_widget ? m_widget->Client() : nullptr; }

QMenuBar* CDialog::GetMenuBar() { return m_widget ? m_widget->MenuBar() : nullptr; }

BOOL CDialog::SetWindowPos(const CWnd*, int x, int y, int cx, int cy, UINT) {
    if (!m_widget) return FALSE;
    // Sizes below zero are taken as zero.
    m_widget->PlaceFrame(x, y, std::max(cx, 0), std::max(cy, 0));
    return TRUE;
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        // Commands the dialog does not handle go on to the application.
        if (CWinApp* app = AfxGetApp()) {
            LRESULT result = 0;
            if (app->OnWndMsg(message, wParam, lParam, &result)) return result;
        }
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) SendMessage(WM_CLOSE);
        return 0;
    case WM_CLOSE:
        SendMessage(WM_COMMAND, IDCANCEL, 0);
        return 0;
    case WM_CONTEXTMENU:
        if (m_sysMenu)
            m_sysMenu->GetQMenu()->popup(QPoint(static_cast<short>(LOWORD(static_cast<WPARAM>(lParam))),
                                                static_cast<short>(HIWORD(static_cast<WPARAM>(lParam)))));
        return 0;
    case WM_PAINT:
        if (m_widget) m_widget->DefaultPaint();
        return 0;
    case WM_SETICON:
        if (m_widget && lParam) m_widget->setWindowIcon(*reinterpret_cast<QIcon*>(lParam));
        return 0;
    case WM_ICONERASEBKGND:
        if (auto* painter = reinterpret_cast<QPainter*>(wParam); painter && m_widget)
            painter->fillRect(m_widget->rect(), m_widget->palette().window());
        return 1;
    default:
        return CWnd::DefWindowProc(message, wParam, lParam);
    }
}

void DDX_Control(CDataExchange* pDX, int id, CWidgetWnd& control) {
    CDialog* dialog = pDX->m_pDlgWnd;
    if (control.m_hWnd || !dialog->m_widget) return;
    QWidget* widget = dialog->m_widget->Control(id);
    if (!widget) return;
    control.Attach(widget);
    dialog->m_controls.emplace_back(id, &control);
}

void DDX_Text(CDataExchange* pDX, int id, CString& value) {
    CWidgetWnd* control = nullptr;
    for (const auto& [controlId, wnd] : pDX->m_pDlgWnd->m_controls)
        if (controlId == id) control = wnd;
    if (!control) return;
    if (pDX->m_bSaveAndValidate)
        control->GetWindowText(value);
    else
        control->SetWindowText(value);
}
