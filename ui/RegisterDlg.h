// SPDX-License-Identifier: MIT
#pragma once
// The main window: the register tree above the hex box (left) and the
// decimal box (right). Selecting rows, changing field rows and typing into
// the hex box run the calculator.
#include "calc/RegisterCalculator.h"
#include "calc/RowDescriber.h"
#include "framework/Dialog.h"
#include "framework/Edit.h"
#include "framework/String.h"
#include "defs/LoadReport.h"
#include "defs/RegisterMap.h"
#include "ui/AddCoreCommand.h"
#include "ui/DeviceCommands.h"
#include "ui/EditValueBox.h"
#include "ui/RegisterCommands.h"
#include "ui/TargetCommands.h"
#include "ui/ValuesCommands.h"
#include "defs/LoadReport.h"
#include "ui/WindowStart.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>

class CAppSettings;
class CMainMenu;
class QAction;
class CStartPanel;
class CPropTreeWindow;

class CRegisterDlg : public CDialog {
    // The map of the file shown; declared first, since the tree below is its
    // tree and everything after it reads it.
    CRegisterMap m_map;

public:
    explicit CRegisterDlg(CWnd* parent = nullptr);
    ~CRegisterDlg() override;

    const MessageMap* GetMessageMap() const override;

    // Places the boxes along the bottom and the tree above them.
    void LayoutControls(const RECT& client);
    // Reads tavlin.xml from the current directory into the tree.
    void LoadDefinitions();
    // Opens the register file at `path`, in either format, in place of the
    // tree shown: when it can be opened, its rows replace the tree's, both
    // boxes are emptied and the caption names the file; otherwise all stays
    // as it was. A message about the file follows in one box.
    // A .pack file shows the chooser over its devices instead.
    void OpenFile(LPCTSTR path);
    // Opens the map of a device from its pack, as OpenFile opens a file: the
    // caption names the device and its pack, and Open recent keeps the device
    // by its name.
    void OpenDevice(const DeviceChoice& choice);
    // Opens an entry of Open recent or the start panel: a file, or a device by its name.
    void OpenRecent(const std::string& entry);

    // How the window starts; set before it is shown.
    void SetStart(WindowStart start) { m_start = std::move(start); }
    const WindowStart& Start() const { return m_start; }

    // The message map's handlers.
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnFileOpen();
    void OnDropFiles(HDROP hDropInfo);
    void OnPaint();
    CursorHandle OnQueryDragIcon();
    void OnSize(UINT nType, int cx, int cy);
    void ApplyHexValue();
    void ShowRegisterValue(NMHDR* pNotify, LRESULT* pResult);
    void OnTreeSelChanged(NMHDR* pNotify, LRESULT* pResult);
    void ShowRegisterValue(CPropTreeItem* row);
    void OnTreeSelChanged(CPropTreeItem* row);

    // The map's tree, which is also the tree's window.
    CPropTree& Tree() { return m_tree; }
    const CRegisterMap& Map() const { return m_map; }
    CEdit& HexEdit() { return m_editHex; }
    CEdit& DecimalEdit() { return m_editDecimal; }
    // What the boxes held when their text was last exchanged (UpdateData).
    const CString& HexData() const { return m_strHex; }
    const CString& DecimalData() const { return m_strDecimal; }
    IconHandle Icon() const { return m_hIcon; }
    // Whether the hex box shows a value.
    bool HasValueShown() const { return !m_hexBox.GetText().empty(); }
    // Open device..., Pack folders..., the chooser.
    CDeviceCommands& Devices() { return m_devices; }
    // Add core registers: asks for the core, then adds its sets.
    CAddCoreCommand& AddCore() { return m_addCore; }

    // What is kept between runs (once the window exists).
    CAppSettings& Settings() { return *m_settings; }
    CStartPanel* StartPanel() const { return m_startPanel; }
    // Whether no map is shown: nothing opened yet, or nothing could be.
    bool IsMapEmpty() const { return m_map.Tree().GetRootItem()->GetChildCount() == 0; }

    // The bit grid and the row commands of the register in hand.
    CRegisterCommands& Commands() { return m_commands; }
    // The commands on the chip through a GDB server.
    CTargetCommands& Target() { return m_target; }
    // The commands that read and write values files.
    CValuesCommands& Values() { return m_values; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

private:
    // Shows `map`, just loaded, in place of the tree shown when the report
    // says it was opened, named `name` in the caption and kept among the
    // recent maps as `recentPath` (a file's path or a device's entry; not when empty); then tells its problems.
    void TakeMap(CRegisterMap& map, const LoadReport& report, const std::string& name, const std::string& recentPath);
    // Raises and activates the window once it shows, the keyboard in the tree.
    void ComeForward(CPropTreeWindow& window);
    // Follows a change of the register in hand, its value or the map: the row
    // commands and which commands apply.
    void Follow();
    void UpdateActions();
    void PlaceWindow();
    void UpdateStartPanel();
    // Makes a window that has no remembered size wide enough for every column of a map with addresses.
    void FitColumns();
    void UpdateCaption();

    CEdit m_editDecimal;
    CEdit m_editHex;
    CString m_strHex;
    CString m_strDecimal;
    IconHandle m_hIcon;
    CPropTree& m_tree{m_map.Tree()};
    WindowStart m_start;
    EditValueBox m_hexBox{m_editHex};
    EditValueBox m_decimalBox{m_editDecimal};
    CRegisterCalculator m_calc;
    CRegisterRowDescriber m_describer;
    CRegisterCommands m_commands{m_map, m_calc, m_hexBox};
    CTargetCommands m_target{m_map, m_calc, m_commands, m_hexBox};
    CValuesCommands m_values{m_map, m_calc, [this] { Follow(); }};
    CAddCoreCommand m_addCore{m_map, [this] {
                                  m_target.MapGrew();
                                  Follow();
                                  FitColumns();
                              }};
    CDeviceCommands m_devices{[this](const DeviceChoice& choice) { OpenDevice(choice); }};
    bool m_bMapNamed = false;  // a file was opened by name, so the caption names it
    CString m_strTitle;  // the caption the window starts with
    std::string m_strMapName = "tavlin.xml";  // the file name of the map shown, or its device and pack
    std::unique_ptr<CAppSettings> m_settings;
    CStartPanel* m_startPanel = nullptr;
    CMainMenu* m_menu = nullptr;
};
