// SPDX-License-Identifier: MIT
#pragma once
// Add core registers... (Target menu): the Cortex-M core registers a map's
// own sets lack, added after them as one change of the view; the values the
// map holds stay as they are, and the file is not touched. Says which sets
// came in, in one box.
#include <functional>
#include <utility>

class CRegisterMap;
struct CoreInfo;

class CAddCoreCommand {
public:
    // `grown` runs once sets came in, before the box.
    CAddCoreCommand(CRegisterMap& map, std::function<void()> grown) : m_map(map), m_grown(std::move(grown)) {}

    // Asks for the core, then adds its sets.
    void AskAndAdd();
    void Add(const CoreInfo& core);

private:
    CRegisterMap& m_map;
    std::function<void()> m_grown;
};
