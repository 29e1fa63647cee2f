// SPDX-License-Identifier: MIT
#include "ui/RegisterCommands.h"

#include <QClipboard>
#include <QGuiApplication>

#include "bits/BitArithmetic.h"
#include "bits/NumberFormatting.h"
#include "bits/NumberReading.h"
#include "calc/CodeStatement.h"
#include "calc/RegisterCalculator.h"
#include "calc/ValueBox.h"
#include "defs/RegisterMap.h"
#include "tree/PropTreeView.h"
#include "ui/BitGrid.h"

CRegisterCommands::CRegisterCommands(CRegisterMap& map, CRegisterCalculator& calc, ValueBox& hexBox)
    : m_map(map), m_calc(calc), m_hexBox(hexBox) {}

void CRegisterCommands::Attach() {
    auto* window = qobject_cast<CPropTreeWindow*>(m_map.Tree().m_hWnd);
    if (!window) return;
    m_grid = new CBitGrid(window);
    window->SetDetailWidget(m_grid);
    QObject::connect(m_grid, &CBitGrid::toggleRequested, m_grid, [this](std::uint64_t value) {
        const CRegisterItem* reg = RegisterInHand();
        if (reg) m_hexBox.SetText(FormatRegisterHex(value, reg->m_nBits));
    });
    m_resetAction = window->AddRowCommand(QObject::tr("&Reset value"), QKeySequence(Qt::CTRL | Qt::Key_R), false,
                                          [this] { ResetValue(); });
    m_copyValueAction =
        window->AddRowCommand(QObject::tr("&Copy value"), QKeySequence::Copy, true, [this] { CopyValue(); });
    m_copyRegisterAction = window->AddRowCommand(QObject::tr("Copy register and &fields"),
                                                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), false,
                                                 [this] { CopyRegister(); });
    m_copyAsCAction = window->AddRowCommand(QObject::tr("Copy as C"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C),
                                            false, [this] { CopyAsC(); });
    Follow();
}

CRegisterItem* CRegisterCommands::RegisterInHand() const { return m_calc.RegisterOf(m_map.Tree().GetFocusedItem()); }

void CRegisterCommands::Follow() {
    if (!m_grid) return;
    const CRegisterItem* reg = RegisterInHand();
    if (!reg) {
        m_grid->Clear();
        m_grid->SetHighlight(std::nullopt);
        return;
    }
    std::vector<BitGridField> fields;
    for (const CPropTreeItem* row = reg->GetChild(); row; row = row->GetSibling()) {
        const FieldSpan* span = m_map.Fields().Find(row);
        if (!span) continue;
        // A drop-down row names its value (by its read names where it has them); a bare number is no name.
        std::string valueName;
        if (row->GetKind() == PropRowKind::Combo) {
            valueName = row->GetAttributeText();
            if (valueName == std::to_string(row->GetItemValue())) valueName.clear();
        }
        fields.push_back({span->nLowBit, span->nHighBit, row->GetLabelText(), std::move(valueName)});
    }
    m_grid->SetRegister(reg->m_nBits, std::move(fields));
    const FieldSpan* inHand = m_map.Fields().Find(m_map.Tree().GetFocusedItem());
    m_grid->SetHighlight(inHand ? std::optional<std::pair<int, int>>({inHand->nLowBit, inHand->nHighBit}) : std::nullopt);
    const auto baseline = m_map.BaselineOf(*reg);
    m_grid->SetBaseline(baseline ? std::optional<std::uint64_t>(*baseline) : std::nullopt);
    m_grid->SetValue(ParseNumberText(m_hexBox.GetText()));
}

void CRegisterCommands::ResetValue() {
    const CRegisterItem* reg = RegisterInHand();
    if (!reg) return;
    // An SVD register's row shows its current value; its reset value is the map's.
    const auto reset = m_map.ResetValueOf(*reg);
    m_hexBox.SetText(FormatRegisterHex(reset ? *reset : ParseNumberText(reg->GetAttributeText()), reg->m_nBits));
}

void CRegisterCommands::CopyValue() const {
    const std::string text = m_hexBox.GetText();
    if (!text.empty()) QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

std::string CRegisterCommands::RegisterText() const {
    const CRegisterItem* reg = RegisterInHand();
    if (!reg) return {};
    const std::uint64_t value = m_calc.ComposeRegister(*reg);
    std::string text = std::string(reg->GetLabelText()) + " = " + FormatRegisterHex(value, reg->m_nBits);
    for (const CPropTreeItem* row = reg->GetChild(); row; row = row->GetSibling()) {
        const FieldSpan* span = m_map.Fields().Find(row);
        if (!span) continue;
        const std::uint64_t field = ShiftRight64(value, span->nLowBit) & FieldMask(span->nLowBit, span->nHighBit);
        text += "\n" + std::string(row->GetLabelText()) + " = " + FormatRegisterHex(field, 0);
    }
    return text;
}

void CRegisterCommands::CopyRegister() const {
    const std::string text = RegisterText();
    if (!text.empty()) QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

std::string CRegisterCommands::CText() const {
    const CRegisterItem* reg = RegisterInHand();
    if (!reg) return {};
    return CodeStatement(m_map, m_map.IndexOf(*reg), m_calc.ComposeRegister(*reg));
}

void CRegisterCommands::CopyAsC() const {
    const std::string text = CText();
    if (!text.empty()) QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

bool CRegisterCommands::HasChanged() const { return HasChangedCodeStatements(m_map); }

void CRegisterCommands::CopyChangedAsC() const {
    const std::string text = ChangedCodeStatements(m_map);
    if (!text.empty()) QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}
