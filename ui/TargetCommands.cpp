// SPDX-License-Identifier: MIT
#include "ui/TargetCommands.h"

#include <QAction>
#include <QKeySequence>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>
#include <algorithm>

#include "bits/NumberFormatting.h"
#include "bits/NumberReading.h"
#include "calc/RegisterCalculator.h"
#include "calc/ValueBox.h"
#include "calc/ValuesInput.h"
#include "defs/RegisterMap.h"
#include "framework/InputBox.h"
#include "framework/MessageBox.h"
#include "problem/ProblemList.h"
#include "remote/GdbClient.h"
#include "chip/ChipTransfer.h"
#include "chip/FaultReport.h"
#include "tree/PropTreeView.h"
#include "ui/AppSettings.h"
#include "ui/ChipLink.h"
#include "ui/RegisterCommands.h"

namespace {

constexpr const char* kDefaultServer = "localhost:3333";
constexpr std::size_t kSkippedShown = 8;

void Tell(const std::string& text, UINT icon = MB_ICONEXCLAMATION) { AfxMessageBox(text.c_str(), MB_OK | icon); }

}  // namespace

CTargetCommands::CTargetCommands(CRegisterMap& map, CRegisterCalculator& calc, CRegisterCommands& commands,
                                 ValueBox& hexBox)
    : m_map(map), m_calc(calc), m_commands(commands), m_hexBox(hexBox) {}

CTargetCommands::~CTargetCommands() = default;

void CTargetCommands::Attach(CPropTreeWindow& window, CAppSettings* settings, std::function<void()> connectionChanged) {
    m_settings = settings;
    m_connectionChanged = std::move(connectionChanged);
    m_window = &window;
    m_link = new CChipLink(&window);
    m_link->SetNotificationHandler([this](const std::string& payload) { Notified(payload); },
                                   [this] {
                                       m_targetRunning = false;
                                       m_followsStops = false;
                                       StopWatch();  // tells the window the connection changed
                                   });
    // Rows that come into view while a followed session is stopped are read as a stop reads them.
    QObject::connect(window.View(), &QTreeView::expanded, &window, [this] { RowsShown(); });
    QObject::connect(window.View()->verticalScrollBar(), &QScrollBar::valueChanged, &window, [this] { RowsShown(); });
    m_watchTimer = new QTimer(&window);
    m_watchTimer->setInterval(kWatchIntervalMs);
    QObject::connect(m_watchTimer, &QTimer::timeout, &window, [this] { WatchTick(); });

    const auto add = [&](Command command, const char* text, const QKeySequence& keys, std::function<void()> run) {
        QAction* action = window.AddRowCommand(QObject::tr(text), keys, false, std::move(run));
        m_actions[static_cast<std::size_t>(command)] = action;
        return action;
    };
    add(Command::kConnect, "Co&nnect to target...", QKeySequence(Qt::CTRL | Qt::Key_K), [this] { AskAndConnect(); });
    add(Command::kDisconnect, "&Disconnect", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_K), [this] { Disconnect(); });
    add(Command::kRead, "&Read", QKeySequence(Qt::Key_F5), [this] { Read(); });
    add(Command::kReadSet, "Read s&et", QKeySequence(Qt::SHIFT | Qt::Key_F5), [this] { ReadSet(); });
    add(Command::kWrite, "&Write to chip", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W), [this] { Write(); });
    m_watchAction =
        add(Command::kWatch, "Wa&tch", QKeySequence(Qt::CTRL | Qt::Key_F5), [this] { ToggleWatch(); });
    m_watchAction->setCheckable(true);
    add(Command::kFault, "&Fault report", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F), [this] { FaultReport(); });

    // Escape stops the request under way; only then, so it still closes editors and lists otherwise.
    m_cancelAction = new QAction(QObject::tr("Cancel the request"), &window);
    m_cancelAction->setShortcut(QKeySequence(Qt::Key_Escape));
    m_cancelAction->setShortcutContext(Qt::WindowShortcut);
    m_cancelAction->setEnabled(false);
    QObject::connect(m_cancelAction, &QAction::triggered, &window, [this] { Cancel(); });
    window.addAction(m_cancelAction);
}

bool CTargetCommands::IsConnected() const { return m_link && m_link->IsConnected(); }
bool CTargetCommands::IsBusy() const { return m_link && m_link->IsBusy(); }
bool CTargetCommands::IsWatching() const { return m_watched != nullptr; }
std::string CTargetCommands::Where() const { return IsConnected() ? m_link->Where() : std::string(); }

CRegisterItem* CTargetCommands::RegisterInHand() const { return m_calc.RegisterOf(m_map.Tree().GetFocusedItem()); }

CPropTreeItem* CTargetCommands::SetInHand() const {
    CPropTreeItem* row = m_map.Tree().GetFocusedItem();
    if (CRegisterItem* reg = m_calc.RegisterOf(row)) return reg->GetParent();
    return row && row->GetParent() == m_map.Tree().GetRootItem() ? row : nullptr;
}

bool CTargetCommands::HasRegister() const {
    const CRegisterItem* reg = RegisterInHand();
    return reg && ChipRegisterOf(m_map, *reg);
}

bool CTargetCommands::Applies(Command command) const {
    switch (command) {
    case Command::kConnect: return !IsBusy();
    case Command::kDisconnect: return IsConnected();
    case Command::kRead:
    case Command::kWrite: return IsConnected() && !m_targetRunning && HasRegister();
    case Command::kReadSet: return IsConnected() && !m_targetRunning && HasSet();
    case Command::kWatch: return IsWatching() || (IsConnected() && HasRegister());
    case Command::kFault: return !IsBusy() && (IsConnected() || m_mapHasFaultStatus);
    }
    return false;
}

bool CTargetCommands::HasSet() const {
    const CPropTreeItem* set = SetInHand();
    return set && !RegistersOfSet(m_map, *set).empty();
}

void CTargetCommands::Busy(bool busy) {
    if (m_cancelAction) m_cancelAction->setEnabled(busy);
    if (!busy && m_refreshPending) {
        m_refreshPending = false;
        QTimer::singleShot(0, m_window, [this] { RefreshAfterStop(); });
    }
    if (m_connectionChanged) m_connectionChanged();
}

void CTargetCommands::AskAndConnect() {
    if (IsBusy()) return;
    const std::string last = m_settings ? m_settings->LastServer() : std::string();
    const auto answer = AfxInputBox("The GDB server to connect to (HOST:PORT):", last.empty() ? kDefaultServer : last);
    if (answer && !answer->empty()) Connect(*answer);
}

void CTargetCommands::Connect(const std::string& endpoint) {
    StopWatch();
    m_followsStops = false;
    if (!m_link->Connect(endpoint, [this, endpoint](Status status) {
            Busy(false);
            if (status.Ok() && m_settings) m_settings->SetLastServer(endpoint);
            if (!status.Ok()) Tell(status.Text());
        }))
        return;
    Busy(true);
}

void CTargetCommands::Disconnect() {
    StopWatch();
    if (!IsConnected()) return;
    if (IsBusy()) m_link->Cancel();  // the cancelled request drops the connection itself
    else if (m_link->Disconnect([this] { Busy(false); }))
        Busy(true);
}

void CTargetCommands::Cancel() {
    StopWatch();
    if (m_link) m_link->Cancel();
}

void CTargetCommands::MapReplaced() {
    ++m_generation;
    m_atLastStop.clear();
    m_readAtThisStop.clear();
    MapGrew();
    StopWatch();  // tells the window, which updates what applies
}

void CTargetCommands::MapGrew() {
    m_mapHasFaultStatus = false;
    for (const CRegisterItem* reg : m_map.Registers()) {
        const auto address = m_map.AddressOf(*reg);
        if (address && (*address == kCfsrAddress || *address == kIcsrAddress)) m_mapHasFaultStatus = true;
    }
}

void CTargetCommands::FaultReport() {
    if (IsBusy()) return;
    const std::optional<CoreProfile> profile = CoreProfileOf(m_map);
    const auto show = [profile](const FaultRegisters& registers, const std::string& from) {
        std::string text = "Fault report, " + from + ":";
        for (const std::string& line : FaultReportLines(registers, profile)) text += "\n" + line;
        Tell(text, MB_ICONINFORMATION);
    };
    if (!IsConnected()) return show(FaultRegistersOf(m_map), "from the values shown");
    const std::string where = Where();
    const bool started = m_link->Run<Result<FaultRegisters>>(
        [profile](CGdbClient& client) { return ReadFaultRegisters(client, profile); },
        [this, show, where](Result<FaultRegisters> registers) {
            Busy(false);
            if (!registers) return Failed(registers.Text());
            show(registers.Value(), "read from " + where);
        });
    if (started) Busy(true);
}

void CTargetCommands::Failed(const std::string& problem) {
    StopWatch();  // tells the window the connection changed
    Tell(problem);
}

void CTargetCommands::ReadRegisters(std::vector<CRegisterItem*> registers, std::vector<ChipRegister> places,
                                    std::function<void()> after, std::function<void(const std::string&)> failed) {
    const bool bigEndian = m_map.IsBigEndian();
    const unsigned generation = m_generation;
    const bool started = m_link->Run<Result<std::vector<std::uint64_t>>>(
        [places = std::move(places), bigEndian](CGdbClient& client) {
            return ReadChipRegisters(client, places, bigEndian);
        },
        [this, registers = std::move(registers), generation, after = std::move(after),
         failed = std::move(failed)](auto values) {
            Busy(false);
            if (generation != m_generation) return;  // for a map no longer shown
            if (!values.Ok()) {
                if (failed) return failed(values.Text());
                Failed(values.Text());
                return;
            }
            GiveRegisterValues(m_map, m_calc, registers, values.Value(), ValueSource::Chip);
            m_commands.Follow();
            if (after) after();
        });
    if (started) Busy(true);
}

void CTargetCommands::Read() {
    CRegisterItem* reg = RegisterInHand();
    if (!reg || IsBusy()) return;
    if (!IsConnected()) return Tell("Not connected to a target: Connect to target... (Ctrl+K) first.");
    const Status read = CheckRead(m_map, *reg);
    if (read.Failed(ProblemCode::kNoAddress)) return Tell(RegisterPath(*reg) + " has no address to read.");
    if (!read &&
        AfxMessageBox((read.Text() + ". Read it from the chip all the same?").c_str(),
                      MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    ReadRegisters({reg}, {*ChipRegisterOf(m_map, *reg)});
}

void CTargetCommands::ReadSet() {
    const CPropTreeItem* set = SetInHand();
    if (!set || IsBusy()) return;
    if (!IsConnected()) return Tell("Not connected to a target: Connect to target... (Ctrl+K) first.");
    const std::vector<CRegisterItem*> registers = RegistersOfSet(m_map, *set);
    ChipReadSelection selection = SelectForRead(m_map, registers);
    std::function<void()> after;
    if (!selection.skipped.empty()) {
        std::string text = "Read " + std::to_string(selection.registers.size()) + " registers of " +
                           set->GetLabelText() + "; passed over:";
        std::vector<std::string> lines;
        for (const Problem& skipped : selection.skipped) lines.push_back(skipped.Describe());
        for (const std::string& line : FirstLinesAndMore(lines, kSkippedShown)) text += "\n" + line;
        after = [text] { Tell(text, MB_ICONINFORMATION); };
    }
    if (selection.registers.empty()) {
        if (after) after();
        return;
    }
    ReadRegisters(std::move(selection.registers), std::move(selection.places), std::move(after));
}

void CTargetCommands::Write() {
    CRegisterItem* reg = RegisterInHand();
    if (!reg || IsBusy()) return;
    if (!IsConnected()) return Tell("Not connected to a target: Connect to target... (Ctrl+K) first.");
    const std::string name = RegisterPath(*reg);
    const auto place = ChipRegisterOf(m_map, *reg);
    if (!place) return Tell(name + " has no address to write.");
    if (m_map.AccessOf(*reg) == RowAccess::ReadOnly) return Tell(name + " is read-only: not written.");
    const std::string text = m_hexBox.GetText();
    const std::uint64_t value = text.empty() ? m_calc.ComposeRegister(*reg) : ParseNumberText(text);
    // What the chip holds afterwards: read back, unless a read would change it or gives nothing.
    const bool readBack = CheckRead(m_map, *reg).Ok();
    const bool bigEndian = m_map.IsBigEndian();
    const unsigned generation = m_generation;
    const bool started = m_link->Run<Result<WrittenValue>>(
        [place = *place, value, readBack, bigEndian](CGdbClient& client) {
            return WriteThenReadBack(client, place, value, bigEndian, readBack);
        },
        [this, reg, generation](Result<WrittenValue> result) {
            Busy(false);
            if (generation != m_generation) return;
            if (!result) return Failed(result.Text());
            CRegisterItem* const one[] = {reg};
            GiveRegisterValues(m_map, m_calc, one, std::span(&result.Value().value, 1), ValueSource::Chip);
            m_commands.Follow();
        });
    if (started) Busy(true);
}

void CTargetCommands::ToggleWatch() {
    if (IsWatching()) {
        StopWatch();
        return;
    }
    m_watchAction->setChecked(false);
    CRegisterItem* reg = RegisterInHand();
    if (!reg) return;
    if (!IsConnected()) return Tell("Not connected to a target: Connect to target... (Ctrl+K) first.");
    if (const Status read = CheckRead(m_map, *reg); !read) return Tell(read.Text() + ": not watched.");
    m_watched = reg;
    m_watchAction->setChecked(true);
    m_watchTimer->start();
    if (m_connectionChanged) m_connectionChanged();
    WatchTick();
}

void CTargetCommands::StopWatch() {
    m_watched = nullptr;
    if (m_watchTimer) m_watchTimer->stop();
    if (m_watchAction) m_watchAction->setChecked(false);
    if (m_connectionChanged) m_connectionChanged();
}

void CTargetCommands::WatchTick() {
    // A tick while the last read is still under way, or while the target runs, is passed over.
    if (!m_watched || IsBusy() || m_targetRunning) return;
    ReadRegisters({m_watched}, {*ChipRegisterOf(m_map, *m_watched)});
}

void CTargetCommands::Notified(const std::string& payload) {
    // The remote protocol's stop notification, and the bridge's own word that the target runs.
    m_followsStops = true;
    if (payload.starts_with("Stop:")) {
        m_targetRunning = false;
        m_readAtThisStop.clear();
        ++m_stops;
        RefreshAfterStop();
    } else if (payload.starts_with("Running:")) {
        m_targetRunning = true;
    }
    if (m_connectionChanged) m_connectionChanged();
}

void CTargetCommands::RowsShown() {
    if (!m_followsStops || !IsConnected() || m_targetRunning || !m_window) return;
    // Once the view has laid the rows out, and once for a burst of scrolling.
    if (!m_refreshPending) {
        m_refreshPending = true;
        QTimer::singleShot(0, m_window, [this] {
            m_refreshPending = false;
            RefreshAfterStop();
        });
    }
}

std::vector<CRegisterItem*> CTargetCommands::RegistersInView() const {
    std::vector<CRegisterItem*> registers;
    const auto add = [&](CRegisterItem* reg) {
        if (reg && std::find(registers.begin(), registers.end(), reg) == registers.end()) registers.push_back(reg);
    };
    add(RegisterInHand());
    if (m_window)
        for (CPropTreeItem* row : m_window->VisibleRows()) add(m_calc.RegisterOf(row));
    return registers;
}

void CTargetCommands::RefreshAfterStop() {
    if (!IsConnected() || m_targetRunning) return;
    if (IsBusy()) {
        m_refreshPending = true;
        return;
    }
    std::vector<CRegisterItem*> unread = RegistersInView();
    std::erase_if(unread, [this](const CRegisterItem* reg) { return m_readAtThisStop.count(reg) != 0; });
    // Only what a read leaves as it was, as a set read chooses: a stop never changes the chip.
    ChipReadSelection selection = SelectForRead(m_map, unread);
    std::vector<CRegisterItem*>& registers = selection.registers;
    if (registers.empty()) return;
    for (CRegisterItem* reg : registers)
        if (const auto last = m_atLastStop.find(reg); last != m_atLastStop.end()) m_map.SetBaseline(*reg, last->second);
    ReadRegisters(
        registers, std::move(selection.places),
        [this, registers, stop = m_stops] {
            for (CRegisterItem* reg : registers) {
                if (const auto held = m_map.ValueOf(*reg)) m_atLastStop[reg] = held->value;
                if (stop == m_stops) m_readAtThisStop.insert(reg);
            }
        },
        // A stop is no command of the user's: a read the session refused (the target
        // resumed meanwhile) waits for the next stop without a box.
        [](const std::string&) {});
}
