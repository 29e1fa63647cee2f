// SPDX-License-Identifier: MIT
#include "res/TavlinResources.h"

#include <string>

#include "res/Version.h"
#include "res/resource.h"

namespace {

constexpr DWORD kBoxStyle = WS_BORDER | WS_TABSTOP;
constexpr DWORD kTextStyle = SS_CENTER;

constexpr DialogControl kMainControls[] = {
    {ControlClass::Edit, "", IDC_HEX, 7, 110, 114, 14, kBoxStyle},
    {ControlClass::Edit, "", IDC_DECIMAL, 129, 110, 114, 14, kBoxStyle},
};

constexpr DialogTemplate kMainDialog{
    WS_SYSMENU | WS_THICKFRAME,
    0, 0, 250, 131,
    "tavlin",
    "MS Sans Serif", 8,
    kMainControls,
};

constexpr VersionInfo kVersion{
    "tavlin",
    TAVLIN_VERSION_MAJOR, TAVLIN_VERSION_MINOR, TAVLIN_VERSION_PATCH, TAVLIN_VERSION_TWEAK,
};

// The About box's title line: the program's name and version, from the version block.
const std::string& AboutTitle() {
    static const std::string title = std::string(kVersion.internalName) + " Version " + TavlinVersion();
    return title;
}

const DialogControl kAboutControls[] = {
    {ControlClass::Static, AboutTitle().c_str(), -1, 7, 7, 221, 17, kTextStyle | SS_SUNKEN},
    {ControlClass::Button, "OK", IDOK, 98, 114, 50, 14, WS_TABSTOP | BS_DEFPUSHBUTTON},
    {ControlClass::Static, "by the tavlin developers, developers@tavlin.invalid", -1, 7, 43, 221, 17, kTextStyle},
    {ControlClass::Static, "The register tree is drawn with Qt Widgets,", -1, 7, 79, 221, 10, kTextStyle},
    {ControlClass::Static, "the Qt 6 toolkit, published at qt.io", -1, 7, 91, 221, 11, kTextStyle},
};

const DialogTemplate kAboutDialog{
    WS_SYSMENU,
    0, 0, 235, 135,
    "About TAVLIN",
    "MS Sans Serif", 8,
    kAboutControls,
};

const DialogTemplate* FindDialog(UINT id) {
    switch (id) {
    case IDD_MAIN_DIALOG: return &kMainDialog;
    case IDD_ABOUTBOX: return &kAboutDialog;
    default: return nullptr;
    }
}

const char* FindString(UINT id) {
    switch (id) {
    case IDS_ABOUTBOX: return "&About tavlin...";
    case IDS_OPEN: return "&Open...\tCtrl+O";
    default: return nullptr;
    }
}

const char* IconPath(UINT id) { return id == IDR_MAINFRAME ? ":/res/tavlin.ico" : nullptr; }

}  // namespace

const ResourceTable& TavlinResources() {
    static const ResourceTable table{&FindDialog, &FindString, &IconPath, &kVersion};
    return table;
}

const char* TavlinVersion() { return TAVLIN_VERSION_TEXT; }
