// SPDX-License-Identifier: MIT
#pragma once
// The program's resources, registered once by the application: dialog
// templates, the string table, icons and the version block.
#include "framework/AfxTypes.h"
#include "framework/DialogTemplate.h"

struct VersionInfo {
    const char* internalName;  // the program's name, "tavlin"
    int major, minor, build, revision;
};

struct ResourceTable {
    const DialogTemplate* (*findDialog)(UINT id);
    const char* (*findString)(UINT id);  // null when there is no such string
    const char* (*iconPath)(UINT id);    // a Qt resource path, null when none
    const VersionInfo* version;
};

void AfxSetResources(const ResourceTable* table);
const ResourceTable* AfxGetResources();
