// SPDX-License-Identifier: MIT
#pragma once
// A dialog built from a template and run modally: initialisation, data
// exchange with its controls, the default OK (Enter) and Cancel (Escape,
// close box, the Close command), and its menu of window commands.
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "framework/DataExchange.h"
#include "framework/Menu.h"
#include "framework/WidgetWnd.h"

class DialogWidget;
class QMenuBar;
class QWidget;

class CDialog : public CWidgetWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Builds the window, initialises it, runs it until EndDialog and
    // destroys the window. Returns the value given to EndDialog.
    virtual int DoModal();

    // Lets the user drop a file on the window (child windows included): a
    // drag of one local file is taken and arrives as WM_DROPFILES once the
    // drop is over; any other drag is refused.
    void DragAcceptFiles(BOOL accept = TRUE);

    // The menu of window commands (a right click outside the controls, or
    // Alt+Space); null when the template has no WS_SYSMENU.
    CMenu* GetSystemMenu(BOOL revert);
    UINT GetTemplateId() const { return m_nIDTemplate; }

    // The client area's widget, the parent of the controls (null before the
    // window is built), and the menu bar above it, made on first use.
    QWidget* GetClientWidget() const;
    QMenuBar* GetMenuBar();

    // Places the window's outer frame.
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) override;

    // Runs a modal dialog in place of the nested event loop: called once the
    // dialog is initialised and shown, its result is DoModal's unless the
    // dialog ended itself. Tests use it so that no dialog waits for a person.
    using ModalRunner = std::function<int(CDialog& dialog)>;
    static ModalRunner SetModalRunner(ModalRunner runner);

    const MessageMap* GetMessageMap() const override;

protected:
    // Ends DoModal with `result`.
    void EndDialog(int result);
    // Copies control texts into members (true) or members into controls.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual void OnOK();
    virtual void OnCancel();
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    friend void DDX_Control(CDataExchange* pDX, int id, CWidgetWnd& control);
    friend void DDX_Text(CDataExchange* pDX, int id, CString& value);
    void BuildWindow();
    void DestroyWindow();

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    std::unique_ptr<CMenu> m_sysMenu;
    DialogWidget* m_widget = nullptr;
    // The window objects attached to the controls, by control id.
    std::vector<std::pair<int, CWidgetWnd*>> m_controls;
    int m_nResult = IDCANCEL;
    bool m_bEnded = false;
};
