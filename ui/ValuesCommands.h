// SPDX-License-Identifier: MIT
#pragma once
// The values commands of the main window: Open values (Ctrl+Shift+O), Save
// values (Ctrl+S), Compare with values (Ctrl+Shift+M), Paste values (Ctrl+V)
// and values files dropped on the window. They read and write values files,
// give the map's registers their values or baselines, and tell of problems
// in one box; the window only shows them.
#include <functional>
#include <optional>
#include <string>

class CAppSettings;
class CPropTreeWindow;
class CRegisterCalculator;
class CRegisterMap;
class CWnd;
class QAction;

class CValuesCommands {
public:
    // `changed` is called after values came in, so the window follows them.
    CValuesCommands(CRegisterMap& map, CRegisterCalculator& calc, std::function<void()> changed);

    // Puts the commands onto the tree's window (keys anywhere in it, Paste
    // also in the rows' menu); `owner` owns the file dialogs, `settings` (may
    // be null) keeps the last folder.
    void Attach(CPropTreeWindow& window, CWnd* owner, CAppSettings* settings);
    // The file name of the map shown, which a saved values file names.
    void SetMapName(std::string name) { m_mapName = std::move(name); }

    void OpenValues();
    void SaveValues();
    void CompareValues();
    void PasteValues();
    // Takes a dropped file as values when a map is shown and the file is no
    // register file; false when it is not taken.
    bool TakeDroppedFile(const std::string& path);

    // Gives the registers of the map the values of `bytes` (a dump or a
    // values file; `name` names it in the box that tells of problems) or,
    // when it is no text, of a raw memory image whose first address the user
    // gives. The first register given a value, in the map's order, becomes
    // the selected row, in view.
    void ApplyValues(const std::string& bytes, const std::string& name);
    // Reads the file at `path` as values for the map: as its values, or as its baseline.
    void OpenValuesFile(const std::string& path, bool asBaseline);
    // Writes every register's value to `path` as a values file.
    bool SaveValuesFile(const std::string& path) const;

    QAction* PasteAction() const { return m_pasteAction; }
    QAction* OpenAction() const { return m_openAction; }
    QAction* SaveAction() const { return m_saveAction; }
    QAction* CompareAction() const { return m_compareAction; }

private:
    // Asks for a values file to read or to write, starting in the folder of the last one.
    std::optional<std::string> ChooseValuesFile(bool save);

    CRegisterMap& m_map;
    CRegisterCalculator& m_calc;
    std::function<void()> m_changed;
    CPropTreeWindow* m_window = nullptr;
    CWnd* m_owner = nullptr;
    CAppSettings* m_settings = nullptr;
    std::string m_mapName = "tavlin.xml";
    QAction* m_pasteAction = nullptr;
    QAction* m_openAction = nullptr;
    QAction* m_saveAction = nullptr;
    QAction* m_compareAction = nullptr;
};
