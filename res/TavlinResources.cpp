#include "res/TavlinResources.h"

#include <string>

#include "res/Version.h"
#include "res/resource.h"

namespace {

constexpr DWORD kBoxStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kTextStyle = WS_CHILD | WS_VISIBLE | WS_GROUP | SS_CENTERIMAGE | SS_NOPREFIX | SS_CENTER;

constexpr DialogControl kMainControls[] = {
    {ControlClass::Edit, "", IDC_HEX, 7, 110, 114, 14, kBoxStyle, 0},
    {ControlClass::Edit, "", IDC_DECIMAL, 129, 110, 114, 14, kBoxStyle, 0},
};

constexpr DialogTemplate kMainDialog{
    IDD_MAIN_DIALOG,
    WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_SETFONT,
    WS_EX_APPWINDOW | WS_EX_CLIENTEDGE,
    0, 0, 250, 131,
    "tavlin",
    "MS Sans Serif", 8,
    kMainControls,
};

constexpr VersionInfo kVersion{
    "tavlin Application", "tavlin", "tavlin MFC Application", TAVLIN_VERSION_COMMAS,
    TAVLIN_VERSION_MAJOR, TAVLIN_VERSION_MINOR, TAVLIN_VERSION_PATCH, TAVLIN_VERSION_TWEAK,
};

// The About box's title line: the program's name and version, from the version block.
const std::string& AboutTitle() {
    static const std::string title = std::string(kVersion.internalName) + " Version " + TavlinVersion();
    return title;
}

const DialogControl kAboutControls[] = {
    {ControlClass::Static, AboutTitle().c_str(), -1, 7, 7, 221, 17, kTextStyle | SS_SUNKEN, 0},
    {ControlClass::Button, "OK", IDOK, 98, 114, 50, 14, WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
    {ControlClass::Static, "by the tavlin developers, developers@tavlin.invalid", -1, 7, 43, 221, 17, kTextStyle, 0},
    {ControlClass::Static, "The register tree is drawn with Qt Widgets,", -1, 7, 79, 221, 10, kTextStyle, 0},
    {ControlClass::Static, "the Qt 6 toolkit, published at qt.io", -1, 7, 91, 221, 11, kTextStyle, 0},
};

const DialogTemplate kAboutDialog{
    IDD_ABOUTBOX,
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
    0,
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
