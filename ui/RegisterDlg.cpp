// SPDX-License-Identifier: MIT
#include "ui/RegisterDlg.h"

#include <filesystem>
#include <string>

#include "defs/DefinitionsLoader.h"
#include "defs/RegisterFile.h"
#include "framework/DropFiles.h"
#include "framework/FileDialog.h"
#include "framework/Menu.h"
#include "framework/MessageBox.h"
#include "framework/PaintDC.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "tree/PropTreeView.h"
#include "ui/AboutDlg.h"

namespace {
constexpr DWORD kTreeStyle = WS_CHILD | WS_VISIBLE | 1;
constexpr const char* kRegisterFileFilter = "Register files (*.svd *.xml);;All files (*)";
constexpr const char* kCaptionSeparator = " \xE2\x80\x94 ";  // an em dash between spaces
}

CRegisterDlg::CRegisterDlg(CWnd* parent)
    : CDialog(IDD_MAIN_DIALOG, parent),
      m_hIcon(AfxGetApp() ? AfxGetApp()->LoadIcon(IDR_MAINFRAME) : nullptr),
      m_calc(m_map, m_hexBox, m_decimalBox),
      m_describer(m_map) {
    m_tree.SetDescriber(&m_describer);
}

const MessageMap* CRegisterDlg::GetMessageMap() const {
    using D = CRegisterDlg;
    static const MessageMapEntry entries[] = {
        OnSysCommandEntry<D, &D::OnSysCommand>(),
        OnDropFilesEntry<D, &D::OnDropFiles>(),
        OnMessage<D, &D::OnPaint>(WM_PAINT),
        OnQueryDragIconEntry<D, &D::OnQueryDragIcon>(),
        OnSizeEntry<D, &D::OnSize>(),
        OnCommandEntry<D, &D::ApplyHexValue>(EN_CHANGE, IDC_HEX),
        OnCommandEntry<D, &D::OnChangeDecimal>(EN_CHANGE, IDC_DECIMAL),
        OnNotifyEntry<D, &D::ShowRegisterValue>(PTN_ITEMCHANGED, IDC_TREE),
        OnNotifyEntry<D, &D::OnTreeSelChanged>(PTN_SELCHANGE, IDC_TREE),
    };
    static const MessageMap map = MakeMessageMap(CDialog::GetMessageMap(), entries);
    return &map;
}

void CRegisterDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DECIMAL, m_editDecimal);
    DDX_Control(pDX, IDC_HEX, m_editHex);
    DDX_Text(pDX, IDC_HEX, m_strHex);
    DDX_Text(pDX, IDC_DECIMAL, m_strDecimal);
}

BOOL CRegisterDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    if (CMenu* sysMenu = GetSystemMenu(FALSE)) {
        CString open;
        CString about;
        open.LoadString(IDS_OPEN);
        about.LoadString(IDS_ABOUTBOX);
        if (!open.IsEmpty() || !about.IsEmpty()) sysMenu->AppendMenu(MF_SEPARATOR);
        if (!open.IsEmpty()) sysMenu->AppendMenu(MF_STRING, IDM_OPEN, open);
        if (!about.IsEmpty()) sysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, about);
    }
    DragAcceptFiles();
    GetWindowText(m_strTitle);

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    SetWindowPos(nullptr, 0, 0, 300, 600, SWP_NOZORDER);
    RECT client;
    GetClientRect(&client);
    m_tree.Create(kTreeStyle, client, this, IDC_TREE);
    (new CPropTreeWindow(m_tree, m_hWnd))->show();  // a child of the dialog's widget, which deletes it
    m_commands.Attach();
    LayoutControls(client);

    if (m_strFileToOpen.IsEmpty())
        LoadDefinitions();
    else
        OpenFile(m_strFileToOpen);

    CAboutDlg about;
    about.DoModal();
    return TRUE;
}

void CRegisterDlg::LoadDefinitions() {
    // The rows go in as one change of the view; the message comes once they
    // are all in, so the tree it leaves behind is on screen with it.
    m_tree.BeginReset();
    const LoadReport report = LoadDefinitionsFile(m_map, kDefinitionsFileName, kDefinitionsFileName);
    m_tree.EndReset();
    if (!report.Ok()) AfxMessageBox(report.Message().c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void CRegisterDlg::OpenFile(LPCTSTR path) {
    // The file is read into a map of its own, so one that cannot be opened
    // leaves the map shown as it was; one that can comes in whole, as one
    // change of the view.
    CRegisterMap map;
    const LoadReport report = LoadRegisterFile(map, path, path);
    if (report.opened) {
        m_map.Swap(map);
        m_editHex.SetWindowText("");
        m_editDecimal.SetWindowText("");
        m_commands.Follow();
        const std::string name = std::filesystem::path(path).filename().string();
        SetWindowText((name + kCaptionSeparator + m_strTitle.str()).c_str());
    }
    if (!report.Ok()) AfxMessageBox(report.Message().c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void CRegisterDlg::OnSysCommand(UINT nID, LPARAM) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal();
    } else if ((nID & 0xFFF0) == IDM_OPEN) {
        OnFileOpen();
    } else {
        Default();
    }
}

void CRegisterDlg::OnFileOpen() {
    CFileDialog dlg(kRegisterFileFilter, this);
    if (dlg.DoModal() == IDOK) OpenFile(dlg.GetPathName());
}

void CRegisterDlg::OnDropFiles(HDROP hDropInfo) {
    const UINT length = DragQueryFile(hDropInfo, 0, nullptr, 0);
    if (length == 0) return;
    std::string path(length, '\0');
    DragQueryFile(hDropInfo, 0, path.data(), length + 1);
    OpenFile(path.c_str());
}

void CRegisterDlg::OnPaint() {
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, dc.GetSafeHdc(), 0);
    const int cxIcon = GetSystemMetrics(SM_CXICON);
    const int cyIcon = GetSystemMetrics(SM_CYICON);
    RECT rect;
    GetClientRect(&rect);
    const int x = (rect.right - rect.left - cxIcon + 1) / 2;
    const int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CRegisterDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

void CRegisterDlg::OnSize(UINT, int, int) {
    Default();
    RECT client;
    GetClientRect(&client);
    LayoutControls(client);
}

void CRegisterDlg::LayoutControls(const RECT& client) {
    const int cw = client.right - client.left;
    const int ch = client.bottom - client.top;
    const int w2 = (cw - 4) / 2;
    auto heightOf = [](const CEdit& wnd) {
        RECT r;
        wnd.GetWindowRect(&r);
        return r.bottom - r.top;
    };
    if (IsWindow(m_editHex.m_hWnd)) {
        const int hh = heightOf(m_editHex);
        m_editHex.SetWindowPos(nullptr, 2, ch - hh - 2, w2, hh, SWP_NOZORDER);
    }
    if (IsWindow(m_editDecimal.m_hWnd)) {
        const int hd = heightOf(m_editDecimal);
        m_editDecimal.SetWindowPos(nullptr, w2 + 3, ch - hd - 2, w2 - 1, hd, SWP_NOZORDER);
    }
    if (IsWindow(m_tree.m_hWnd)) {
        const int hh = heightOf(m_editHex);
        ::SetWindowPos(m_tree.m_hWnd, nullptr, -1, -1, cw + 2, ch - hh - 4, SWP_NOZORDER);
    }
}

void CRegisterDlg::ApplyHexValue() {
    m_calc.ApplyHexValue();
    m_commands.Follow();
}

void CRegisterDlg::OnChangeDecimal() {}

void CRegisterDlg::ShowRegisterValue(NMHDR* pNotify, LRESULT* pResult) {
    ShowRegisterValue(reinterpret_cast<TreeNotification*>(pNotify)->pRow);
    *pResult = 0;
}

void CRegisterDlg::OnTreeSelChanged(NMHDR* pNotify, LRESULT*) {
    OnTreeSelChanged(reinterpret_cast<TreeNotification*>(pNotify)->pRow);
}

void CRegisterDlg::ShowRegisterValue(CPropTreeItem* row) {
    m_calc.ShowRegisterValue(row);
    m_commands.Follow();
}

void CRegisterDlg::OnTreeSelChanged(CPropTreeItem* row) {
    m_calc.OnTreeSelChanged(row);
    m_commands.Follow();
}
