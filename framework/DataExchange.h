// SPDX-License-Identifier: MIT
#pragma once
// Data exchange between a dialog's members and its controls.
#include "framework/AfxTypes.h"

class CDialog;
class CString;
class CWidgetWnd;

class CDataExchange {
public:
    CDataExchange(CDialog* dialog, BOOL saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
    CDialog* m_pDlgWnd;
    BOOL m_bSaveAndValidate;  // true: controls into members
};

// Attaches `control` to the dialog's control `id` (once).
void DDX_Control(CDataExchange* pDX, int id, CWidgetWnd& control);
// Copies the text of control `id` (attached with DDX_Control) into `value`,
// or `value` into the control.
void DDX_Text(CDataExchange* pDX, int id, CString& value);
