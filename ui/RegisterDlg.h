#pragma once
// The main window: the register tree above the hex box (left) and the
// decimal box (right). Selecting rows, changing field rows and typing into
// the hex box run the calculator.
#include "calc/RegisterCalculator.h"
#include "framework/Dialog.h"
#include "framework/Edit.h"
#include "framework/String.h"
#include "tree/PropTree.h"
#include "ui/EditValueBox.h"

class CRegisterDlg : public CDialog {
public:
    explicit CRegisterDlg(CWnd* parent = nullptr);

    const MessageMap* GetMessageMap() const override;

    // Places the boxes along the bottom and the tree above them.
    void LayoutControls(const RECT& client);
    // Reads tavlin.xml from the current directory into the tree.
    void LoadDefinitions();

    // Handlers.
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
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
    HICON m_hIcon;
    CPropTree m_tree;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

private:
    EditValueBox m_hexBox{m_editHex};
    EditValueBox m_decimalBox{m_editDecimal};
    CRegisterCalculator m_calc;
};
