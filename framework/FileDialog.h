// SPDX-License-Identifier: MIT
#pragma once
// Asks the user for a file to open, or to save to, with Qt's file dialog. Tests install a
// chooser of their own so that no dialog waits for a person.
#include <functional>
#include <string>

#include "framework/String.h"

class CWnd;

class CFileDialog {
public:
    // `filter` in Qt's form: "Register files (*.svd *.xml);;All files (*)".
    explicit CFileDialog(LPCTSTR filter, CWnd* parent = nullptr, bool save = false);

    // IDOK when a file was chosen (see GetPathName), IDCANCEL otherwise.
    int DoModal();
    const CString& GetPathName() const { return m_strPathName; }
    const CString& GetFilter() const { return m_strFilter; }
    CWnd* GetParent() const { return m_pParentWnd; }
    // Whether it asks where to save rather than what to open.
    bool IsSave() const { return m_bSave; }
    // The folder the dialog starts in (empty: the dialog's own choice).
    void SetInitialFolder(const std::string& folder) { m_strFolder = folder; }
    const std::string& GetInitialFolder() const { return m_strFolder; }

    // Chooses in place of Qt's dialog: returns the chosen path, or an empty
    // one for Cancel. Installs `chooser` and returns the one it replaces.
    using Chooser = std::function<std::string(const CFileDialog& dialog)>;
    static Chooser SetChooser(Chooser chooser);

private:
    CString m_strFilter;
    CWnd* m_pParentWnd;
    bool m_bSave;
    std::string m_strFolder;
    CString m_strPathName;
};
