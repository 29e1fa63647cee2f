// SPDX-License-Identifier: MIT
#pragma once
// What the main window offers on the register in hand beyond the calculator:
// its bit grid, and the row commands Reset value (Ctrl+R), Copy value (Ctrl+C
// in the tree), Copy register and fields (Ctrl+Shift+C) and Copy as C
// (Ctrl+Alt+C), with Copy changed as C for the whole map. Every change of a
// value goes through the hex box, so exactly what typing there does happens.
#include <string>

class CBitGrid;
class QAction;
class CPropTreeItem;
class CRegisterCalculator;
class CRegisterItem;
class CRegisterMap;
class ValueBox;

class CRegisterCommands {
public:
    CRegisterCommands(CRegisterMap& map, CRegisterCalculator& calc, ValueBox& hexBox);

    // Puts the bit grid into the tree's window and the commands onto its
    // rows; once the tree's window exists.
    void Attach();
    // The register in hand or the hex box changed: the grid follows.
    void Follow();

    // Writes the register's value text, read as a number, into the hex box.
    void ResetValue();
    // The hex box's text exactly as it stands, onto the clipboard (nothing when empty).
    void CopyValue() const;
    // The register and each of its fields as "NAME = 0x..." lines, onto the clipboard.
    void CopyRegister() const;
    std::string RegisterText() const;
    // The register's value as one C statement (calc/CodeStatement.h), onto the clipboard.
    void CopyAsC() const;
    std::string CText() const;
    // A C statement for each writable register changed from its reset value
    // or the compared values, onto the clipboard; nothing when there is none.
    void CopyChangedAsC() const;
    bool HasChanged() const;

    CBitGrid* Grid() const { return m_grid; }
    // The row commands, for the menu bar (null before Attach).
    QAction* ResetAction() const { return m_resetAction; }
    QAction* CopyValueAction() const { return m_copyValueAction; }
    QAction* CopyRegisterAction() const { return m_copyRegisterAction; }
    QAction* CopyAsCAction() const { return m_copyAsCAction; }

private:
    CRegisterItem* RegisterInHand() const;

    CRegisterMap& m_map;
    CRegisterCalculator& m_calc;
    ValueBox& m_hexBox;
    CBitGrid* m_grid = nullptr;
    QAction* m_resetAction = nullptr;
    QAction* m_copyValueAction = nullptr;
    QAction* m_copyRegisterAction = nullptr;
    QAction* m_copyAsCAction = nullptr;
};
