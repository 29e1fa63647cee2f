// tavlin started on a definitions file, ending the moment its main window
// is shown: what the start-up benchmark times, from process start.
#include <QApplication>
#include <cstdlib>

#include "app/RegisterApp.h"
#include "bench/UiBenchHarness.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    static CRegisterApp app;
    QApplication application(argc, argv);
    RunDialogOnFile(argv[1], [](CRegisterDlg&) { std::_Exit(0); });
    return 1;
}
