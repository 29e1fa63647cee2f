// SPDX-License-Identifier: MIT
#include "ui/WatchCommand.h"

#include <QAction>
#include <QKeySequence>
#include <QTimer>

#include "calc/ValuesInput.h"
#include "target/TargetRegisters.h"
#include "tree/PropTreeView.h"
#include "ui/TargetCommands.h"

void CWatchCommand::Attach(CPropTreeWindow& window) {
    m_timer = new QTimer(&window);
    m_timer->setInterval(kIntervalMs);
    QObject::connect(m_timer, &QTimer::timeout, &window, [this] { Tick(); });
    m_action = window.AddRowCommand(QObject::tr("Wa&tch"), QKeySequence(Qt::CTRL | Qt::Key_F5), false,
                                    [this] { Toggle(); });
    m_action->setCheckable(true);
}

bool CWatchCommand::Applies() const {
    return IsWatching() || (m_target.IsConnected() && m_target.HasRegister());
}

void CWatchCommand::Toggle() {
    if (IsWatching()) {
        Stop();
        return;
    }
    m_action->setChecked(false);
    CRegisterItem* reg = m_target.RegisterInHand();
    if (!reg || !m_target.EnsureConnected()) return;
    if (const Status read = CheckRead(m_target.Map(), *reg); !read)
        return CTargetCommands::Tell(read.Text() + ": not watched.");
    m_watched = reg;
    m_action->setChecked(true);
    m_timer->start();
    m_target.Changed();
    Tick();
}

void CWatchCommand::Stop() {
    m_watched = nullptr;
    if (m_timer) m_timer->stop();
    if (m_action) m_action->setChecked(false);
    m_target.Changed();
}

void CWatchCommand::Tick() {
    if (!m_watched || m_target.IsBusy() || m_target.IsTargetRunning()) return;
    m_target.ReadRegisters({m_watched}, {*TargetRegisterOf(m_target.Map(), *m_watched)});
}
