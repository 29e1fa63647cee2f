// SPDX-License-Identifier: MIT
#pragma once
// Where the main window stands and how wide its columns are, kept between
// desktop starts: the place is taken back within the screen as it is now,
// kept from the first move or resize after the start, and a window that
// has never been fitted is widened once for the columns of a map with
// addresses.
class CAppSettings;
class CPropTreeItem;
class CPropTreeWindow;
class QWidget;

// Puts `window` where it was last: by Qt's own record of it (restoreGeometry)
// where one is kept, else by the remembered rectangle within the screen it is
// shown on now; false when no place is remembered.
bool RestoreWindowPlace(QWidget& window, const CAppSettings& settings);
// Remembers the window's place (saveGeometry, and its rectangle for older
// settings) at every move or resize from the first turn of the event loop on
// (the start's own placing is not the user's).
void KeepWindowPlace(QWidget& window, CAppSettings& settings);
// Remembers the columns' widths at every resize; a hidden column (the
// Address column of a map without addresses) keeps the width it had.
void KeepColumnWidths(CPropTreeWindow& treeWindow, CAppSettings& settings);
// Widens `window` for the label, bits, address and value columns of the rows
// under `root`, within the screen, unless it was fitted once before; with
// `remember`, the place and that it was fitted are kept.
void FitWindowToColumns(QWidget& window, CPropTreeWindow& treeWindow, CPropTreeItem* root, CAppSettings& settings,
                        bool remember);
