// SPDX-License-Identifier: MIT
#include "bench/UiBenchHarness.h"

#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

#include "framework/MessageBox.h"
#include "res/resource.h"
#include "ui/RegisterDlg.h"

void RunDialogOnFile(const std::string& path, const std::function<void(CRegisterDlg&)>& body, OpenAs openAs) {
    // The dialog reads tavlin.xml from the current directory: link it there,
    // or, for a file named on the command line, leave the folder empty.
    if (!std::filesystem::exists(path)) {
        std::fprintf(stderr, "skipped: no %s (build the bench_data target)\n", path.c_str());
        return;
    }
    const auto absolutePath = std::filesystem::absolute(path);
    const auto dir = std::filesystem::temp_directory_path() / ("tavlin-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::filesystem::remove(dir / "tavlin.xml");
    if (openAs == OpenAs::DefaultFile) std::filesystem::create_symlink(absolutePath, dir / "tavlin.xml");
    const auto previousDir = std::filesystem::current_path();
    std::filesystem::current_path(dir);

    AfxSetMessageBoxPresenter([](const std::string& text, UINT) {
        std::fprintf(stderr, "tavlin: %s\n", text.c_str());
        return IDOK;
    });
    CRegisterDlg dlg;
    if (openAs == OpenAs::CommandLineFile) dlg.SetStart(WindowStart::OnFile(absolutePath.string()));
    CDialog::SetModalRunner([&](CDialog& dialog) {
        if (dialog.GetTemplateId() != IDD_MAIN_DIALOG) return IDOK;
        QApplication::processEvents();
        body(dlg);
        return IDCANCEL;
    });
    dlg.DoModal();
    CDialog::SetModalRunner(nullptr);
    std::filesystem::current_path(previousDir);
    std::filesystem::remove_all(dir);
}

CPropTreeItem* WidestRegister(CPropTree& tree) {
    CPropTreeItem* widest = nullptr;
    for (CPropTreeItem* set = tree.GetRootItem()->GetChild(); set; set = set->GetSibling())
        for (CPropTreeItem* reg = set->GetChild(); reg; reg = reg->GetSibling())
            if (!widest || reg->GetChildCount() > widest->GetChildCount()) widest = reg;
    return widest;
}
