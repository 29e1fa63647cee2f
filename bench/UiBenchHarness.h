// SPDX-License-Identifier: MIT
#pragma once
// Runs tavlin's main dialog headless on a generated file and calls `body`
// once the window is shown (the About box is answered at once).
#include <functional>
#include <string>

class CRegisterDlg;
class CPropTreeItem;
class CPropTree;

// How the dialog comes to the file: as tavlin.xml in the current directory
// (what tavlin reads when started without a file), or as the file named on
// the command line (`tavlin FILE`, in either format).
enum class OpenAs { DefaultFile, CommandLineFile };

void RunDialogOnFile(const std::string& path, const std::function<void(CRegisterDlg&)>& body,
                     OpenAs openAs = OpenAs::DefaultFile);

// The register with the most field rows (the generator's largest is 32).
CPropTreeItem* WidestRegister(CPropTree& tree);
