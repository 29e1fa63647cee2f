// SPDX-License-Identifier: MIT
// tavlin started on a file, ending the moment its main window is shown: what
// the start-up benchmark times, from process start. `startup_child FILE`
// reads FILE as tavlin.xml from the current directory; `startup_child --open
// FILE` opens it as the file named on tavlin's command line.
#include <QApplication>
#include <cstdlib>
#include <cstring>

#include "app/RegisterApp.h"
#include "bench/UiBenchHarness.h"
#include "tree/PropTree.h"
#include "ui/RegisterDlg.h"

int main(int argc, char** argv) {
    const bool named = argc == 3 && std::strcmp(argv[1], "--open") == 0;
    if (argc != 2 && !named) return 2;
    const char* path = argv[argc - 1];
    static CRegisterApp app;
    QApplication application(argc, argv);
    // A window shown without the file's rows would be timed for nothing.
    RunDialogOnFile(
        path, [](CRegisterDlg& dlg) { std::_Exit(dlg.Tree().GetRootItem()->GetChildCount() > 0 ? 0 : 3); },
        named ? OpenAs::CommandLineFile : OpenAs::DefaultFile);
    return 1;
}
