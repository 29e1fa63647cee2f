// SPDX-License-Identifier: MIT
#pragma once
// tavlin's resources: the two dialog templates, the string table, the
// application icon and the version block.
#include "framework/Resources.h"

const ResourceTable& TavlinResources();

// The version, "1.0.0.1": project(VERSION) of the top-level CMakeLists.txt.
const char* TavlinVersion();
