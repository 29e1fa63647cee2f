// SPDX-License-Identifier: MIT
#include "ui/ReadWriteCommands.h"

#include <string>
#include <vector>

#include "bits/NumberReading.h"
#include "calc/RegisterCalculator.h"
#include "calc/ValueBox.h"
#include "calc/ValuesInput.h"
#include "target/TargetTransfer.h"
#include "defs/RegisterMap.h"
#include "framework/MessageBox.h"
#include "problem/ProblemList.h"
#include "remote/GdbClient.h"
#include "ui/TargetLink.h"
#include "ui/TargetCommands.h"

namespace {
constexpr std::size_t kSkippedShown = 8;
}  // namespace

void CReadWriteCommands::Read() {
    CRegisterItem* reg = m_target.RegisterInHand();
    if (!reg || m_target.IsBusy()) return;
    if (!m_target.EnsureConnected()) return;
    const Status read = CheckRead(m_target.Map(), *reg);
    if (read.Failed(ProblemCode::kNoAddress))
        return CTargetCommands::Tell(RegisterPath(*reg) + " has no address to read.");
    if (!read &&
        AfxMessageBox((read.Text() + ". Read it from the chip all the same?").c_str(), MB_YESNO | MB_ICONQUESTION) !=
            IDYES)
        return;
    m_target.ReadRegisters({reg}, {*TargetRegisterOf(m_target.Map(), *reg)});
}

void CReadWriteCommands::ReadSet() {
    const CPropTreeItem* set = m_target.SetInHand();
    if (!set || m_target.IsBusy()) return;
    if (!m_target.EnsureConnected()) return;
    const std::vector<CRegisterItem*> registers = RegistersOfSet(m_target.Map(), *set);
    TargetReadSelection selection = SelectForRead(m_target.Map(), registers);
    std::function<void()> after;
    if (!selection.skipped.empty()) {
        std::string text = "Read " + std::to_string(selection.registers.size()) + " registers of " +
                           set->GetLabelText() + "; passed over:";
        std::vector<std::string> lines;
        for (const Problem& skipped : selection.skipped) lines.push_back(skipped.Describe());
        for (const std::string& line : FirstLinesAndMore(lines, kSkippedShown)) text += "\n" + line;
        after = [text] { CTargetCommands::Tell(text, MB_ICONINFORMATION); };
    }
    if (selection.registers.empty()) {
        if (after) after();
        return;
    }
    m_target.ReadRegisters(std::move(selection.registers), std::move(selection.places), std::move(after));
}

void CReadWriteCommands::Write() {
    CRegisterItem* reg = m_target.RegisterInHand();
    if (!reg || m_target.IsBusy()) return;
    if (!m_target.EnsureConnected()) return;
    const std::string name = RegisterPath(*reg);
    const auto place = TargetRegisterOf(m_target.Map(), *reg);
    if (!place) return CTargetCommands::Tell(name + " has no address to write.");
    if (m_target.Map().AccessOf(*reg) == RowAccess::ReadOnly) return CTargetCommands::Tell(name + " is read-only: not written.");
    const std::string text = m_hexBox.GetText();
    const std::uint64_t value = text.empty() ? m_calc.ComposeRegister(*reg) : ParseNumberText(text);
    // What the chip holds afterwards: read back, unless a read would change it or gives nothing.
    const bool readBack = CheckRead(m_target.Map(), *reg).Ok();
    const bool bigEndian = m_target.Map().IsBigEndian();
    const unsigned generation = m_target.Generation();
    const bool started = m_target.Link().Run<Result<WrittenValue>>(
        [place = *place, value, readBack, bigEndian](CGdbClient& client) {
            return WriteThenReadBack(client, place, value, bigEndian, readBack);
        },
        [this, reg, generation](Result<WrittenValue> result) {
            m_target.Busy(false);
            if (generation != m_target.Generation()) return;
            if (!result) return m_target.Failed(result.Text());
            CRegisterItem* const one[] = {reg};
            m_target.GiveValues(one, std::span(&result.Value().value, 1));
        });
    if (started) m_target.Busy(true);
}

