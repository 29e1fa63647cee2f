#pragma once
// tavlin's resources: the two dialog templates, the string table, the
// application icon and the version block.
#include "framework/Resources.h"

const ResourceTable& TavlinResources();

// "1.0.0.1", from the version block.
const char* TavlinVersion();
