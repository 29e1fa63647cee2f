#pragma once
// A dialog built from a template and run modally: initialisation, data
// exchange with its controls, the default OK (Enter) and Cancel (Escape,
// close box, the Close command), and its menu of window commands.
#include <functional>
#include <memory>

#include "framework/DataExchange.h"
#include "framework/Menu.h"
#include "framework/Wnd.h"

class DialogWidget;

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Builds the window, initialises it, runs it until EndDialog and
    // destroys the window. Returns the value given to EndDialog.
    virtual int DoModal();
    void EndDialog(int result);
    // Copies control texts into members (true) or members into controls.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    // Lets the user drop a file on the window (child windows included): a
    // drag of one local file is taken and arrives as WM_DROPFILES once the
    // drop is over; any other drag is refused.
    void DragAcceptFiles(BOOL accept = TRUE);

    CMenu* SystemMenu() const { return m_sysMenu.get(); }
    UINT GetTemplateId() const { return m_nIDTemplate; }

    // Runs a modal dialog in place of the nested event loop: called once the
    // dialog is initialised and shown, its result is DoModal's unless the
    // dialog ended itself. Tests use it so that no dialog waits for a person.
    using ModalRunner = std::function<int(CDialog& dialog)>;
    static ModalRunner SetModalRunner(ModalRunner runner);

    // The dialog's menu of window commands, shown at `globalPos` (tests open
    // it through the same path as a right click).
    void ShowSystemMenu(int globalX, int globalY);

    const MessageMap* GetMessageMap() const override;

protected:
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual void OnOK();
    virtual void OnCancel();
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    friend class DialogWidget;
    void BuildWindow();
    void DestroyWindow();

    std::unique_ptr<CMenu> m_sysMenu;
    DialogWidget* m_widget = nullptr;
    int m_nResult = IDCANCEL;
    bool m_bEnded = false;
};
