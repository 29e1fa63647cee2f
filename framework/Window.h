#pragma once
// Ties window objects to the Qt widgets that draw them.
#include "framework/Wnd.h"

class QWidget;

// Makes `widget` the window of `wnd`: wnd->m_hWnd becomes null again when
// the widget is destroyed, and the widget is forgotten when wnd goes away.
void AfxAttachWindow(CWnd* wnd, QWidget* widget);

// The window object attached to `widget`, if any.
CWnd* AfxWindowFromWidget(QWidget* widget);

// The control id given to a widget built from a dialog template (0: none).
int AfxControlId(const QWidget* widget);
void AfxSetControlId(QWidget* widget, int id);
