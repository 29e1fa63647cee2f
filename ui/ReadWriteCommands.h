// SPDX-License-Identifier: MIT
#pragma once
// Read (F5) the register in hand, Read set (Shift+F5) and Write to chip
// (Ctrl+Shift+W), through the target's one connection: a read a register
// would notice asks first, a set read passes over such registers and says
// which, a write is read back where a read leaves the register as it was.
class CRegisterCalculator;
class CTargetCommands;
class ValueBox;

class CReadWriteCommands {
public:
    CReadWriteCommands(CTargetCommands& target, CRegisterCalculator& calc, ValueBox& hexBox)
        : m_target(target), m_calc(calc), m_hexBox(hexBox) {}

    void Read();
    void ReadSet();
    void Write();

private:
    CTargetCommands& m_target;
    CRegisterCalculator& m_calc;
    ValueBox& m_hexBox;
};
