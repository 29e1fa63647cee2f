// SPDX-License-Identifier: MIT
#include "ui/FaultCommand.h"

#include <QAction>
#include <QKeySequence>
#include <optional>
#include <string>

#include "target/FaultReport.h"
#include "defs/CoreRegisters.h"
#include "defs/RegisterMap.h"
#include "framework/MessageBox.h"
#include "remote/GdbClient.h"
#include "tree/PropTreeView.h"
#include "ui/TargetLink.h"
#include "ui/TargetCommands.h"

void CFaultCommand::Attach(CPropTreeWindow& window) {
    m_action = window.AddRowCommand(QObject::tr("&Fault report"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F),
                                    false, [this] { Run(); });
}

bool CFaultCommand::Applies() const {
    return !m_target.IsBusy() && (m_target.IsConnected() || m_mapHasFaultStatus);
}

void CFaultCommand::MapChanged() {
    m_mapHasFaultStatus = false;
    for (const CRegisterItem* reg : m_target.Map().Registers()) {
        const auto address = m_target.Map().AddressOf(*reg);
        if (address && (*address == kCfsrAddress || *address == kIcsrAddress)) m_mapHasFaultStatus = true;
    }
}

void CFaultCommand::Run() {
    if (m_target.IsBusy()) return;
    const std::optional<CoreProfile> profile = CoreProfileOf(m_target.Map());
    const auto show = [profile](const FaultRegisters& registers, const std::string& from) {
        std::string text = "Fault report, " + from + ":";
        for (const std::string& line : FaultReportLines(registers, profile)) text += "\n" + line;
        CTargetCommands::Tell(text, MB_ICONINFORMATION);
    };
    if (!m_target.IsConnected()) return show(FaultRegistersOf(m_target.Map()), "from the values shown");
    const std::string where = m_target.Where();
    const bool started = m_target.Link().Run<Result<FaultRegisters>>(
        [profile](CGdbClient& client) { return ReadFaultRegisters(client, profile); },
        [this, show, where](Result<FaultRegisters> registers) {
            m_target.Busy(false);
            if (!registers) return m_target.Failed(registers.Text());
            show(registers.Value(), "read from " + where);
        });
    if (started) m_target.Busy(true);
}
