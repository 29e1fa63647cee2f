// SPDX-License-Identifier: MIT
#include "ui/RegisterDlg.h"

#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "defs/DefinitionsLoader.h"
#include "bits/NumberFormatting.h"
#include "calc/ValuesInput.h"
#include "defs/RegisterFile.h"
#include "defs/SvdLoader.h"
#include "defs/SvdNumbers.h"
#include "framework/DropFiles.h"
#include "framework/FileDialog.h"
#include "framework/InputBox.h"
#include "framework/Menu.h"
#include "framework/MessageBox.h"
#include "framework/PaintDC.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "tree/PropTreeView.h"
#include "tree/PropTreeFind.h"
#include "tree/PropTreeModel.h"
#include "ui/AboutDlg.h"
#include "ui/AppSettings.h"
#include "ui/MainMenu.h"
#include "ui/StartPanel.h"
#include "values/ValuesFileWriter.h"

namespace {
constexpr DWORD kTreeStyle = WS_CHILD | WS_VISIBLE | 1;
constexpr const char* kRegisterFileFilter = "Register files (*.svd *.xml);;All files (*)";
constexpr const char* kCaptionSeparator = " \xE2\x80\x94 ";  // an em dash between spaces
constexpr const char* kValuesFileFilter = "Values files (*.txt *.log *.bin);;All files (*)";
// How many problems and notes a values box lists before "and N more".
constexpr std::size_t kValuesLinesShown = 8;

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

// One box after values came in, only when there is something to tell:
// problems, values on no register, registers only partly given.
void TellValues(const std::string& name, const ValuesInputReport& report, const char* what) {
    if (report.problems.empty() && report.notes.empty()) return;
    const std::size_t count = report.given.size();
    std::string text = std::to_string(count) + (count == 1 ? " register " : " registers ") + what + " " + name + ".";
    std::vector<std::string> lines = report.problems;
    lines.insert(lines.end(), report.notes.begin(), report.notes.end());
    for (std::size_t i = 0; i < lines.size() && i < kValuesLinesShown; ++i) text += "\n" + lines[i];
    if (lines.size() > kValuesLinesShown) text += "\n... and " + std::to_string(lines.size() - kValuesLinesShown) + " more.";
    AfxMessageBox(text.c_str(), MB_OK | (report.problems.empty() ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
}
}

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
    m_settings = std::make_unique<CAppSettings>();

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

    GetMenuBar();  // first, since the client area is what is below it
    PlaceWindow();
    RECT client;
    GetClientRect(&client);
    m_tree.Create(kTreeStyle, client, this, IDC_TREE);
    auto* window = new CPropTreeWindow(m_tree, GetClientWidget());  // a child of the client area, which deletes it
    window->show();
    m_commands.Attach();
    // The values commands, by key anywhere in the window and in the rows' menu.
    m_pasteValuesAction =
        window->AddRowCommand(QObject::tr("&Paste values"), QKeySequence::Paste, true, [this] { OnPasteValues(); });
    m_openValuesAction = window->AddRowCommand(QObject::tr("Open &values..."),
                                               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O), false,
                                               [this] { OnOpenValues(); });
    m_saveValuesAction =
        window->AddRowCommand(QObject::tr("&Save values..."), QKeySequence::Save, false, [this] { OnSaveValues(); });
    m_compareValuesAction = window->AddRowCommand(QObject::tr("Co&mpare with values..."),
                                                  QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M), false,
                                                  [this] { OnCompareValues(); });
    m_target.Attach(*window, m_settings.get(), [this] {
        UpdateCaption();
        UpdateActions();
    });
    BuildMenuBar();
    if (!IsPlainStart()) {
        window->SetColumnWidths(m_settings->ColumnWidths());
        m_startPanel = new CStartPanel(window);
        QObject::connect(m_startPanel, &CStartPanel::openRequested, m_startPanel,
                         [this](const QString& path) { OpenFile(path.toLocal8Bit().constData()); });
    }
    // The columns' widths are kept for the next desktop start; a hidden column
    // (the Address column of a map without addresses) keeps the width it had.
    // A plain start lays out its columns by its fixed window and keeps nothing.
    if (!IsPlainStart()) {
        QObject::connect(window->View()->header(), &QHeaderView::sectionResized, window, [this, window] {
            const QList<int> kept = m_settings->ColumnWidths();
            QList<int> widths;
            for (int column = 0; column < CPropTreeModel::ValueColumn; ++column)
                widths.append(window->View()->isColumnHidden(column) ? kept.value(column)
                                                                     : window->View()->columnWidth(column));
            m_settings->SetColumnWidths(widths);
        });
    }
    LayoutControls(client);

    if (IsPlainStart())
        LoadDefinitions();
    else if (!m_strFileToOpen.IsEmpty())
        OpenFile(m_strFileToOpen);
    UpdateStartPanel();
    // A plain start always takes its fixed place, so it leaves the one remembered alone.
    if (!IsPlainStart()) KeepGeometry();
    if (!m_strGdbServer.empty()) m_target.Connect(m_strGdbServer);

    // From the desktop no box greets the user; the About box stays in the menus.
    if (!m_bDesktopStart) {
        CAboutDlg about;
        about.DoModal();
    }
    return TRUE;
}

void CRegisterDlg::PlaceWindow() {
    const std::optional<QRect> remembered = IsPlainStart() ? std::nullopt : m_settings->WindowGeometry();
    if (!remembered) {
        SetWindowPos(nullptr, 0, 0, 300, 600, SWP_NOZORDER);
        return;
    }
    // Within the screen it is shown on now, which may be smaller than the one it was on.
    QRect place = *remembered;
    if (const QScreen* screen = QGuiApplication::screenAt(place.center()) ? QGuiApplication::screenAt(place.center())
                                                                          : QGuiApplication::primaryScreen()) {
        const QRect room = screen->availableGeometry();
        place.setSize(place.size().boundedTo(room.size()));
        if (!room.contains(place)) place.moveTopLeft(room.topLeft());
    }
    m_hWnd->setGeometry(place);
}

void CRegisterDlg::KeepGeometry() {
    // Remembered from the first move or resize once the start is over.
    new GeometryWatcher(*m_hWnd, [this] {
        if (m_bKeepGeometry && !IsIconic() && m_hWnd->isVisible()) m_settings->SetWindowGeometry(m_hWnd->geometry());
    });
    QTimer::singleShot(0, m_hWnd, [this] { m_bKeepGeometry = true; });
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
    if (!window || !m_map.HasAddresses() || m_settings->FittedToMap()) return;
    CPropTreeView* view = window->View();
    const QFontMetrics metrics(view->font());
    QFont bold = view->font();
    bold.setBold(true);  // changed rows are drawn bold
    const QFontMetrics boldMetrics(bold);
    constexpr int kMaxColumn = 640;
    int label = 0;
    int value = 0;
    const auto measure = [&](CPropTreeItem* row, int depth) {
        label = std::max(label, boldMetrics.horizontalAdvance(QString::fromLocal8Bit(row->GetLabelText())) +
                                    depth * view->indentation());
        const QString shown = window->Model()->IndexFromItem(row, CPropTreeModel::ValueColumn).data().toString();
        value = std::max(value, boldMetrics.horizontalAdvance(shown));
    };
    for (CPropTreeItem* set = m_tree.GetRootItem()->GetChild(); set; set = set->GetSibling()) {
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
    QRect place = m_hWnd->geometry();
    if (const QScreen* screen = m_hWnd->screen()) {
        const QRect room = screen->availableGeometry();
        place.setWidth(std::min(std::max(place.width(), needed), room.width()));
        if (place.right() > room.right()) place.moveRight(room.right());
    }
    m_hWnd->setGeometry(place);
    window->SetColumnWidths({label, bits, address});
    // A plain start widens its own window and remembers nothing: its fixed
    // place is not the desktop's, and the desktop window is still to be fitted.
    if (IsPlainStart()) return;
    // Remembered at once: a window not shown yet takes this size only when it is, before its moves are kept.
    m_settings->SetWindowGeometry(place);
    m_settings->SetFittedToMap();
}

CRegisterItem* CRegisterDlg::RegisterInHand() const { return m_calc.RegisterOf(m_map.Tree().GetFocusedItem()); }

void CRegisterDlg::Follow() {
    m_commands.Follow();
    UpdateActions();
}

void CRegisterDlg::UpdateActions() {
    if (m_menu) m_menu->UpdateActions();
}

void CRegisterDlg::BuildMenuBar() {
    auto* window = qobject_cast<CPropTreeWindow*>(m_tree.m_hWnd);
    QMenuBar* bar = GetMenuBar();
    if (!window || !bar || m_menu) return;
    m_menu = new CMainMenu(*bar);
    const auto hasMap = [this] { return !m_map.Registers().empty(); };
    const auto hasRegister = [this] { return RegisterInHand() != nullptr; };
    CMenu* sysMenu = GetSystemMenu(FALSE);

    QMenu* file = m_menu->AddMenu(QObject::tr("&File"));
    m_menu->Add(file, sysMenu ? sysMenu->GetAction(IDM_OPEN) : nullptr);
    QMenu* recent = file->addMenu(QObject::tr("Open &recent"));
    QObject::connect(file, &QMenu::aboutToShow, recent, [this, recent] {
        recent->clear();
        for (const std::string& path : m_settings->RecentMaps())
            recent->addAction(QString::fromLocal8Bit(path.c_str()), recent, [this, path] { OpenFile(path.c_str()); });
        recent->menuAction()->setEnabled(!recent->isEmpty());
    });
    file->addSeparator();
    m_menu->Add(file, m_openValuesAction, hasMap);
    m_menu->Add(file, m_saveValuesAction, hasMap);
    m_menu->Add(file, m_compareValuesAction, hasMap);
    file->addSeparator();
    // Ctrl+Q by name: QKeySequence::Quit is empty where the platform's key scheme has no quit key.
    m_menu->AddNew(file, QObject::tr("&Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q),
                   [this] { SendMessage(WM_SYSCOMMAND, SC_CLOSE); });

    QMenu* edit = m_menu->AddMenu(QObject::tr("&Edit"));
    m_menu->Add(edit, m_commands.CopyValueAction(), [this] { return !m_hexBox.GetText().empty(); });
    m_menu->Add(edit, m_commands.CopyRegisterAction(), hasRegister);
    m_menu->Add(edit, m_pasteValuesAction, [this] {
        return !m_map.Registers().empty() && !QGuiApplication::clipboard()->text().isEmpty();
    });
    edit->addSeparator();
    m_menu->Add(edit, window->Find()->FindAction(), [this] { return !IsMapEmpty(); });
    m_menu->Add(edit, m_commands.ResetAction(), hasRegister);

    QMenu* target = m_menu->AddMenu(QObject::tr("&Target"));
    for (const CTargetCommands::Command command : CTargetCommands::kCommands) {
        if (command == CTargetCommands::Command::kRead) target->addSeparator();
        m_menu->Add(target, m_target.Action(command), [this, command] { return m_target.Applies(command); });
    }

    QMenu* help = m_menu->AddMenu(QObject::tr("&Help"));
    m_menu->Add(help, sysMenu ? sysMenu->GetAction(IDM_ABOUTBOX) : nullptr);
    QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, m_menu, [this] { UpdateActions(); });
    UpdateActions();
}

void CRegisterDlg::LoadDefinitions() {
    // The rows go in as one change of the view; the message comes once they
    // are all in, so the tree it leaves behind is on screen with it.
    m_tree.BeginReset();
    const LoadReport report = LoadDefinitionsFile(m_map, kDefinitionsFileName, kDefinitionsFileName);
    m_tree.EndReset();
    UpdateActions();
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
        Follow();
        m_target.MapReplaced();
        m_strMapName = std::filesystem::path(path).filename().string();
        m_bMapNamed = true;
        UpdateCaption();
        if (m_settings) {
            std::error_code error;
            const auto absolute = std::filesystem::absolute(path, error);
            m_settings->AddRecentMap(error ? std::string(path) : absolute.lexically_normal().string());
            FitColumns();
        }
        UpdateStartPanel();
    }
    if (!report.Ok()) AfxMessageBox(report.Message().c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void CRegisterDlg::UpdateCaption() {
    // The program's name stays last, where desktops look for it.
    std::string caption = m_strTitle.str();
    if (m_target.IsConnected()) caption = m_target.Where() + kCaptionSeparator + caption;
    if (m_bMapNamed) caption = m_strMapName + kCaptionSeparator + caption;
    SetWindowText(caption.c_str());
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
    // A register file replaces the map; any other file, with a map shown, is values for it.
    if (!m_map.Registers().empty()) {
        const auto bytes = ReadValuesFile(path);
        if (bytes && !IsSvdText(*bytes) && !IsDefinitionsText(*bytes)) {
            ApplyValues(*bytes, std::filesystem::path(path).filename().string());
            return;
        }
    }
    OpenFile(path.c_str());
}

std::optional<std::string> CRegisterDlg::ChooseValuesFile(bool save) {
    CFileDialog dlg(kValuesFileFilter, this, save);
    if (m_settings) dlg.SetInitialFolder(m_settings->LastValuesFolder());
    if (dlg.DoModal() != IDOK) return std::nullopt;
    const std::string path = dlg.GetPathName().str();
    if (m_settings) m_settings->SetLastValuesFolder(std::filesystem::path(path).parent_path().string());
    return path;
}

void CRegisterDlg::OnOpenValues() {
    if (const auto path = ChooseValuesFile(false)) OpenValuesFile(*path, false);
}

void CRegisterDlg::OnCompareValues() {
    if (const auto path = ChooseValuesFile(false)) OpenValuesFile(*path, true);
}

void CRegisterDlg::OnSaveValues() {
    const auto path = ChooseValuesFile(true);
    if (path && !SaveValuesFile(*path)) AfxMessageBox(("Cannot write " + *path).c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void CRegisterDlg::OnPasteValues() {
    const std::string text = QGuiApplication::clipboard()->text().toStdString();
    if (!text.empty()) ApplyValues(text, "the pasted text");
}

void CRegisterDlg::OpenValuesFile(const std::string& path, bool asBaseline) {
    const auto bytes = ReadValuesFile(path);
    if (!bytes) {
        AfxMessageBox(("Cannot read " + path).c_str(), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const std::string name = std::filesystem::path(path).filename().string();
    if (!asBaseline) {
        ApplyValues(*bytes, name);
        return;
    }
    const ValuesInputReport report = ReadValuesFor(m_map, *bytes);
    m_map.ClearBaselines();
    for (std::size_t i = 0; i < report.given.size(); ++i) m_map.SetBaseline(*report.given[i], report.values[i]);
    m_tree.RefreshItems(nullptr);
    Follow();
    TellValues(name, report, "compared with");
}

void CRegisterDlg::ApplyValues(const std::string& bytes, const std::string& name) {
    ValuesInputReport report;
    if (IsValuesText(bytes)) {
        report = ApplyValuesText(m_map, m_calc, bytes, ValueSource::ValuesFile);
    } else {
        const auto answer = AfxInputBox(name + " is a memory image. The address of its first byte:", "0x00000000");
        if (!answer) return;
        const auto base = ParseSvdNumber(*answer);
        if (!base) {
            AfxMessageBox(("\"" + *answer + "\" is not an address").c_str(), MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        report = ApplyMemoryImage(m_map, m_calc, bytes, *base, ValueSource::ValuesFile);
    }
    Follow();
    TellValues(name, report, "given values from");
}

bool CRegisterDlg::SaveValuesFile(const std::string& path) {
    ValuesFileWriter writer(m_strMapName);
    for (const CRegisterItem* reg : m_map.Registers()) {
        const auto held = m_map.ValueOf(*reg);
        const std::uint64_t value = held ? held->value : m_calc.ComposeRegister(*reg);
        writer.Add(RegisterPath(*reg), FormatRegisterHex(value, reg->m_nBits));
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << writer.Text();
    out.close();
    return static_cast<bool>(out);
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
    Follow();
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
    Follow();
}

void CRegisterDlg::OnTreeSelChanged(CPropTreeItem* row) {
    m_calc.OnTreeSelChanged(row);
    Follow();
}
