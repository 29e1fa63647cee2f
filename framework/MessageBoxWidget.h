#pragma once
// Shows message boxes as modal Qt message boxes.
void AfxInstallMessageBoxWidget();
