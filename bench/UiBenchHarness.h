#pragma once
// Runs tavlin's main dialog headless on a generated definitions file and
// calls `body` once the window is shown (the About box is answered at once).
#include <functional>
#include <string>

class CRegisterDlg;
class CPropTreeItem;
class CPropTree;

void RunDialogOnFile(const std::string& definitionsPath, const std::function<void(CRegisterDlg&)>& body);

// The register with the most field rows (the generator's largest is 32).
CPropTreeItem* WidestRegister(CPropTree& tree);
