// SPDX-License-Identifier: MIT
#include "ui/TargetCommands.h"

#include <QAction>
#include <QKeySequence>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <memory>

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
#include "target/TargetTransfer.h"
#include "tree/PropTreeView.h"
#include "ui/AppSettings.h"
#include "ui/TargetLink.h"
#include "ui/RegisterCommands.h"

namespace {

constexpr const char* kDefaultServer = "localhost:3333";

}  // namespace

CTargetCommands::CTargetCommands(CRegisterMap& map, CRegisterCalculator& calc, CRegisterCommands& commands,
                                 ValueBox& hexBox)
    : m_map(map), m_calc(calc), m_commands(commands), m_hexBox(hexBox) {}

CTargetCommands::~CTargetCommands() = default;

void CTargetCommands::Tell(const std::string& text, UINT icon) { AfxMessageBox(text.c_str(), MB_OK | icon); }

void CTargetCommands::Attach(CPropTreeWindow& window, CAppSettings* settings, std::function<void()> connectionChanged) {
    m_settings = settings;
    m_connectionChanged = std::move(connectionChanged);
    m_window = &window;
    m_link = new CTargetLink(&window);
    m_link->SetNotificationHandler([this](const std::string& payload) { Notified(payload); },
                                   [this] {
                                       m_follower.Reset();
                                       StopWatch();  // tells the window the connection changed
                                   });
    // Rows that come into view while a followed session is stopped are read as a stop reads them.
    QObject::connect(window.View(), &QTreeView::expanded, &window, [this] { RowsShown(); });
    QObject::connect(window.View()->verticalScrollBar(), &QScrollBar::valueChanged, &window, [this] { RowsShown(); });

    const auto add = [&](Command command, const char* text, const QKeySequence& keys, std::function<void()> run) {
        m_actions[static_cast<std::size_t>(command)] = window.AddRowCommand(QObject::tr(text), keys, false, std::move(run));
    };
    add(Command::kConnect, "Co&nnect to target...", QKeySequence(Qt::CTRL | Qt::Key_K), [this] { AskAndConnect(); });
    add(Command::kDisconnect, "&Disconnect", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_K), [this] { Disconnect(); });
    add(Command::kRead, "&Read", QKeySequence(Qt::Key_F5), [this] { Read(); });
    add(Command::kReadSet, "Read s&et", QKeySequence(Qt::SHIFT | Qt::Key_F5), [this] { ReadSet(); });
    add(Command::kWrite, "&Write to chip", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W), [this] { Write(); });
    m_watch.Attach(window);
    m_fault.Attach(window);

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
std::string CTargetCommands::Where() const { return IsConnected() ? m_link->Where() : std::string(); }

CRegisterItem* CTargetCommands::RegisterInHand() const { return m_calc.RegisterOf(m_map.Tree().GetFocusedItem()); }

CPropTreeItem* CTargetCommands::SetInHand() const {
    CPropTreeItem* row = m_map.Tree().GetFocusedItem();
    if (CRegisterItem* reg = m_calc.RegisterOf(row)) return reg->GetParent();
    return row && row->GetParent() == m_map.Tree().GetRootItem() ? row : nullptr;
}

bool CTargetCommands::HasRegister() const {
    const CRegisterItem* reg = RegisterInHand();
    return reg && TargetRegisterOf(m_map, *reg);
}

bool CTargetCommands::Applies(Command command) const {
    switch (command) {
    case Command::kConnect: return !IsBusy();
    case Command::kDisconnect: return IsConnected();
    case Command::kRead:
    case Command::kWrite: return IsConnected() && !IsTargetRunning() && HasRegister();
    case Command::kReadSet: return IsConnected() && !IsTargetRunning() && HasSet();
    case Command::kWatch: return m_watch.Applies();
    case Command::kFault: return m_fault.Applies();
    }
    return false;
}

QAction* CTargetCommands::Action(Command command) const {
    if (command == Command::kWatch) return m_watch.Action();
    if (command == Command::kFault) return m_fault.Action();
    return m_actions[static_cast<std::size_t>(command)];
}

bool CTargetCommands::HasSet() const {
    const CPropTreeItem* set = SetInHand();
    return set && !RegistersOfSet(m_map, *set).empty();
}

void CTargetCommands::Busy(bool busy) {
    if (m_cancelAction) m_cancelAction->setEnabled(busy);
    if (!busy && m_follower.TakeDeferred()) QTimer::singleShot(0, m_window, [this] { RefreshAfterStop(); });
    Changed();
}

void CTargetCommands::Changed() const {
    if (m_connectionChanged) m_connectionChanged();
}

bool CTargetCommands::EnsureConnected() const {
    if (!IsConnected()) Tell("Not connected to a target: Connect to target... (Ctrl+K) first.");
    return IsConnected();
}

void CTargetCommands::AskAndConnect() {
    if (IsBusy()) return;
    const std::string last = m_settings ? m_settings->LastServer() : std::string();
    const auto answer = AfxInputBox("The GDB server to connect to (HOST:PORT):", last.empty() ? kDefaultServer : last);
    if (answer && !answer->empty()) Connect(*answer);
}

void CTargetCommands::Connect(const std::string& endpoint) {
    StopWatch();
    m_follower.Reset();
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
    m_follower.MapReplaced();
    MapGrew();
    StopWatch();  // tells the window, which updates what applies
}

void CTargetCommands::GiveValues(std::span<CRegisterItem* const> registers, std::span<const std::uint64_t> values) {
    GiveRegisterValues(m_map, m_calc, registers, values, ValueSource::Target);
    m_commands.Follow();
}

void CTargetCommands::Failed(const std::string& problem) {
    StopWatch();  // tells the window the connection changed
    Tell(problem);
}

void CTargetCommands::ReadRegisters(std::vector<CRegisterItem*> registers, std::vector<TargetRegister> places,
                                    std::function<void()> after, std::function<void(const std::string&)> failed) {
    const bool bigEndian = m_map.IsBigEndian();
    const unsigned generation = m_generation;
    const bool started = m_link->Run<Result<std::vector<std::uint64_t>>>(
        [places = std::move(places), bigEndian](CGdbClient& client) {
            return ReadTargetRegisters(client, places, bigEndian);
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
            GiveValues(registers, values.Value());
            if (after) after();
        });
    if (started) Busy(true);
}

void CTargetCommands::StopWatch() { m_watch.Stop(); }

void CTargetCommands::Notified(const std::string& payload) {
    if (m_follower.Notified(payload) == CStopFollower::Notice::kStopped) RefreshAfterStop();
    Changed();
}

void CTargetCommands::RowsShown() {
    if (!m_follower.ReadsShownRows() || !IsConnected() || !m_window) return;
    // Once the view has laid the rows out, and once for a burst of scrolling.
    if (m_follower.Defer())
        QTimer::singleShot(0, m_window, [this] {
            m_follower.TakeDeferred();
            RefreshAfterStop();
        });
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
    if (!IsConnected() || IsTargetRunning()) return;
    if (IsBusy()) {
        m_follower.Defer();
        return;
    }
    const std::vector<CRegisterItem*> inView = RegistersInView();
    auto read = std::make_shared<CStopFollower::StopRead>(m_follower.Plan(inView));
    if (read->selection.registers.empty()) return;
    ReadRegisters(
        read->selection.registers, read->selection.places, [this, read] { m_follower.Took(*read); },
        // A stop is no command of the user's: a read the session refused (the target
        // resumed meanwhile) waits for the next stop without a box.
        [](const std::string&) {});
}
