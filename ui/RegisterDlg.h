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
#include "defs/RegisterMap.h"
#include "ui/EditValueBox.h"
#include "ui/RegisterCommands.h"
#include "ui/TargetCommands.h"
#include "ui/ValuesCommands.h"

#include <memory>
#include <optional>
#include <string>

class CAppSettings;
struct CoreInfo;
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
    void OpenFile(LPCTSTR path);

    // Handlers.
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnFileOpen();
    void OnDropFiles(HDROP hDropInfo);
    void OnPaint();
    CursorHandle OnQueryDragIcon();
    void OnSize(UINT nType, int cx, int cy);
    void ApplyHexValue();
    void OnChangeDecimal();
    void ShowRegisterValue(NMHDR* pNotify, LRESULT* pResult);
    void OnTreeSelChanged(NMHDR* pNotify, LRESULT* pResult);
    void ShowRegisterValue(CPropTreeItem* row);
    void OnTreeSelChanged(CPropTreeItem* row);

    CEdit m_editDecimal;
    CEdit m_editHex;
    CString m_strHex;
    CString m_strDecimal;
    IconHandle m_hIcon;
    // The map's tree, which is also the tree's window.
    CPropTree& m_tree{m_map.Tree()};
    const CRegisterMap& Map() const { return m_map; }
    // The file named on the command line, opened at start instead of
    // tavlin.xml when not empty.
    CString m_strFileToOpen;
    // Started as the desktop entry starts it (--desktop): with no file, the
    // window opens empty, saying how to open a map, instead of reading
    // tavlin.xml; no About box; the window takes its remembered place.
    bool m_bDesktopStart = false;
    // The GDB server to connect to at start (--gdb HOST:PORT); empty for none.
    std::string m_strGdbServer;
    // The core whose registers every map opened gains (--core NAME); null for none.
    const CoreInfo* m_core = nullptr;
    // Adds the core's register sets the map shown does not have, after its own; says which in a box.
    void AddCore(const CoreInfo& core);
    // "Add core registers...": asks for the core, then adds its sets.
    void AskAndAddCore();

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
    // A start from a terminal with no file: tavlin.xml, the fixed size and place, the About box.
    bool IsPlainStart() const { return m_strFileToOpen.IsEmpty() && !m_bDesktopStart; }
    // A start on a map with --gdb, as the GDB extension's `tavlin window`
    // starts it: the window opens on the map, in front, with no box first.
    bool IsBridgedStart() const { return !m_strGdbServer.empty() && !m_strFileToOpen.IsEmpty(); }
    // Raises and activates the window once it shows, the keyboard in the tree.
    void ComeForward(CPropTreeWindow& window);
    void BuildMenuBar();
    // Follows a change of the register in hand, its value or the map: the row
    // commands and which commands apply.
    void Follow();
    void UpdateActions();
    void PlaceWindow();
    void UpdateStartPanel();
    // Makes a window that has no remembered size wide enough for every column of a map with addresses.
    void FitColumns();
    CRegisterItem* RegisterInHand() const;
    // "NAME — tavlin", and where the window is connected to.
    void UpdateCaption();

    EditValueBox m_hexBox{m_editHex};
    EditValueBox m_decimalBox{m_editDecimal};
    CRegisterCalculator m_calc;
    CRegisterRowDescriber m_describer;
    CRegisterCommands m_commands{m_map, m_calc, m_hexBox};
    CTargetCommands m_target{m_map, m_calc, m_commands, m_hexBox};
    CValuesCommands m_values{m_map, m_calc, [this] { Follow(); }};
    bool m_bMapNamed = false;  // a file was opened by name, so the caption names it
    CString m_strTitle;  // the caption the window starts with
    std::string m_strMapName = "tavlin.xml";  // the file name of the map shown
    std::unique_ptr<CAppSettings> m_settings;
    CStartPanel* m_startPanel = nullptr;
    CMainMenu* m_menu = nullptr;
};
