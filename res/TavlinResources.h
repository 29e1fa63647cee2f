#pragma once
// tavlin's resources: the two dialog templates, the string table, the
// application icon and the version block.
#include "framework/Resources.h"

const ResourceTable& TavlinResources();

// "tavlin 1.0.0.1": the name and version shown in the About box and by --version.
const char* TavlinTitle();
