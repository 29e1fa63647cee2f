// SPDX-License-Identifier: MIT
#include "ui/RegisterDlg.h"

#include <QTimer>
#include <string>

#include "defs/DefinitionsLoader.h"
#include "defs/CoreRegisters.h"
#include "defs/RegisterFile.h"
#include "framework/DropFiles.h"
#include "framework/FileDialog.h"
#include "framework/Menu.h"
#include "framework/MessageBox.h"
#include "framework/WinApp.h"
#include "packs/DeviceMap.h"
#include "platform/FilePaths.h"
#include "res/resource.h"
#include "tree/PropTreeView.h"
#include "ui/AboutDlg.h"
#include "ui/AppSettings.h"
#include "ui/DialogLayout.h"
#include "ui/MainMenu.h"
#include "ui/MinimisedIcon.h"
#include "ui/PackFileDevices.h"
#include "ui/RecentEntry.h"
#include "ui/StartPanel.h"
#include "ui/SystemMenu.h"
#include "ui/WindowCaption.h"
#include "ui/WindowPlace.h"

namespace {
constexpr DWORD kTreeStyle = WS_CHILD | WS_VISIBLE | 1;
constexpr const char* kRegisterFileFilter = "Register files (*.svd *.xml);;CMSIS packs (*.pack *.pdsc);;All files (*)";
}  // namespace

CRegisterDlg::CRegisterDlg(CWnd* parent)
    : CDialog(IDD_MAIN_DIALOG, parent),
      m_hIcon(AfxGetApp() ? AfxGetApp()->LoadIcon(IDR_MAINFRAME) : nullptr),
      m_calc(m_map, m_hexBox, m_decimalBox),
      m_describer(m_map) {
    m_tree.SetDescriber(&m_describer);
}

CRegisterDlg::~CRegisterDlg() = default;

const MessageMap* CRegisterDlg::GetMessageMap() const {
    using D = CRegisterDlg;
    static const MessageMapEntry entries[] = {
        OnSysCommandEntry<D, &D::OnSysCommand>(),
        OnDropFilesEntry<D, &D::OnDropFiles>(),
        OnMessage<D, &D::OnPaint>(WM_PAINT),
        OnQueryDragIconEntry<D, &D::OnQueryDragIcon>(),
        OnSizeEntry<D, &D::OnSize>(),
        OnCommandEntry<D, &D::ApplyHexValue>(EN_CHANGE, IDC_HEX),
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
    m_settings = std::make_unique<CAppSettings>();

    AddOpenAndAbout(GetSystemMenu(FALSE));
    DragAcceptFiles();
    GetWindowText(m_strTitle);

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    GetMenuBar();  // first, since the client area is what is below it
    PlaceWindow();
    RECT client;
    GetClientRect(&client);
    m_tree.Create(kTreeStyle, client, this, IDC_TREE);
    auto* window = new CPropTreeWindow(m_tree, GetClientWidget());  // a child of the client area, which deletes it
    window->show();
    m_commands.Attach();
    m_values.Attach(*window, this, m_settings.get());
    m_target.Attach(*window, m_settings.get(), [this] {
        UpdateCaption();
        UpdateActions();
    });
    m_devices.Attach(*m_hWnd, *m_settings);
    m_menu = CMainMenu::Build(*this);
    if (!m_start.IsPlain()) {
        window->SetColumnWidths(m_settings->ColumnWidths());
        m_startPanel = new CStartPanel(window);
        QObject::connect(m_startPanel, &CStartPanel::openRequested, m_startPanel,
                         [this](const QString& entry) { OpenRecent(entry.toUtf8().toStdString()); });
    }
    // The columns' widths are kept for the next desktop start; a plain start
    // lays out its columns by its fixed window and keeps nothing.
    if (!m_start.IsPlain()) KeepColumnWidths(*window, *m_settings);
    LayoutControls(client);

    if (m_start.IsPlain())
        LoadDefinitions();
    else if (m_start.device)
        OpenDevice(*m_start.device);
    else if (!m_start.file.empty())
        OpenFile(m_start.file.c_str());
    UpdateStartPanel();
    // A plain start always takes its fixed place, so it leaves the one remembered alone.
    if (!m_start.IsPlain()) KeepWindowPlace(*m_hWnd, *m_settings);
    if (!m_start.gdbServer.empty()) m_target.Connect(m_start.gdbServer);

    // From the desktop, and on a map bridged to a GDB session, no box greets
    // the user; the About box stays in the menus.
    if (m_start.IsBridged())
        ComeForward(*window);
    else if (!m_start.desktop) {
        CAboutDlg about;
        about.DoModal();
    }
    return TRUE;
}

void CRegisterDlg::ComeForward(CPropTreeWindow& window) {
    // Once shown: in front of the debugger's terminal, the keyboard in the
    // tree, ready for the arrows, F5 and Ctrl+F.
    QTimer::singleShot(0, m_hWnd, [this, &window] {
        m_hWnd->raise();
        m_hWnd->activateWindow();
        if (!IsMapEmpty()) window.View()->setFocus(Qt::ActiveWindowFocusReason);
    });
}

void CRegisterDlg::PlaceWindow() {
    if (m_start.IsPlain() || !RestoreWindowPlace(*m_hWnd, *m_settings)) SetWindowPos(nullptr, 0, 0, 300, 600, SWP_NOZORDER);
}

void CRegisterDlg::UpdateStartPanel() {
    auto* window = qobject_cast<CPropTreeWindow*>(m_tree.m_hWnd);
    if (!m_startPanel || !window) return;
    const bool empty = IsMapEmpty();
    if (empty) m_startPanel->SetRecentMaps(m_settings->RecentMaps());
    window->ShowPlaceholder(m_startPanel, empty);
    if (empty) m_startPanel->setFocus(Qt::OtherFocusReason);
}

void CRegisterDlg::FitColumns() {
    auto* window = qobject_cast<CPropTreeWindow*>(m_tree.m_hWnd);
    if (!window || !m_map.HasAddresses()) return;
    // A plain start widens its own window and remembers nothing: its fixed
    // place is not the desktop's, and the desktop window is still to be fitted.
    FitWindowToColumns(*m_hWnd, *window, m_tree.GetRootItem(), *m_settings, !m_start.IsPlain());
}

void CRegisterDlg::Follow() {
    m_commands.Follow();
    UpdateActions();
}

void CRegisterDlg::UpdateActions() {
    if (m_menu) m_menu->UpdateActions();
}

void CRegisterDlg::LoadDefinitions() {
    // The rows go in as one change of the view; the message comes once they
    // are all in, so the tree it leaves behind is on screen with it.
    m_tree.BeginReset();
    LoadReport report = LoadDefinitionsFile(m_map, kDefinitionsFileName, kDefinitionsFileName);
    if (m_start.core && report.opened) AddCoreRegisters(m_map, *m_start.core, report);
    m_tree.EndReset();
    m_target.MapReplaced();
    UpdateActions();
    if (const auto message = report.Message()) AfxMessageBox(message->c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void CRegisterDlg::OpenFile(LPCTSTR path) {
    if (IsPackFile(path)) {
        m_devices.ChooseInPackFile(path);
        return;
    }
    // The file is read into a map of its own, so one that cannot be opened
    // leaves the map shown as it was; one that can comes in whole, as one
    // change of the view.
    CRegisterMap map;
    const LoadReport report = LoadRegisterFile(map, path, path, m_start.core);
    TakeMap(map, report, Utf8FileName(path), Utf8AbsolutePath(path));
}

void CRegisterDlg::OpenDevice(const DeviceChoice& choice) {
    CRegisterMap map;
    const LoadReport report = LoadDeviceMap(map, choice, m_start.core);
    TakeMap(map, report, choice.Caption(), RecentDeviceEntry(choice));
}

void CRegisterDlg::OpenRecent(const std::string& entry) {
    if (const std::optional<std::string> device = DeviceOfRecentEntry(entry))
        m_devices.Reopen(*device);
    else
        OpenFile(entry.c_str());
}

void CRegisterDlg::TakeMap(CRegisterMap& map, const LoadReport& report, const std::string& name,
                           const std::string& recentPath) {
    if (report.opened) {
        m_map.Swap(map);
        m_editHex.SetWindowText("");
        m_editDecimal.SetWindowText("");
        Follow();
        m_target.MapReplaced();
        m_strMapName = name;
        m_values.SetMapName(m_strMapName);
        m_bMapNamed = true;
        UpdateCaption();
        if (m_settings) {
            if (!recentPath.empty()) m_settings->AddRecentMap(recentPath);
            FitColumns();
        }
        UpdateStartPanel();
    }
    if (const auto message = report.Message()) AfxMessageBox(message->c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void CRegisterDlg::UpdateCaption() {
    SetWindowText(WindowCaption(m_strTitle.str(), m_bMapNamed ? m_strMapName : std::string(), m_target.Where(),
                                m_target.IsTargetRunning())
                      .c_str());
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
    // A register file or a pack replaces the map; any other file, with a map shown, is values for it.
    if (IsPackFile(path) || !m_values.TakeDroppedFile(path)) OpenFile(path.c_str());
}

void CRegisterDlg::OnPaint() {
    if (!IsIconic()) {
        Default();
        return;
    }
    PaintMinimisedIcon(*this, m_hIcon);
}

CursorHandle CRegisterDlg::OnQueryDragIcon() { return static_cast<CursorHandle>(m_hIcon); }

void CRegisterDlg::OnSize(UINT, int, int) {
    Default();
    RECT client;
    GetClientRect(&client);
    LayoutControls(client);
}

void CRegisterDlg::LayoutControls(const RECT& client) { LayOutTreeAndBoxes(client, m_tree, m_editHex, m_editDecimal); }

void CRegisterDlg::ApplyHexValue() {
    m_calc.ApplyHexValue();
    Follow();
}

void CRegisterDlg::ShowRegisterValue(NMHDR* pNotify, LRESULT* pResult) {
    ShowRegisterValue(reinterpret_cast<TreeNotification*>(pNotify)->pRow);
    *pResult = 0;
}

void CRegisterDlg::OnTreeSelChanged(NMHDR* pNotify, LRESULT*) {
    OnTreeSelChanged(reinterpret_cast<TreeNotification*>(pNotify)->pRow);
}

void CRegisterDlg::ShowRegisterValue(CPropTreeItem* row) {
    m_calc.ShowRegisterValue(row);
    Follow();
}

void CRegisterDlg::OnTreeSelChanged(CPropTreeItem* row) {
    m_calc.OnTreeSelChanged(row);
    Follow();
}
