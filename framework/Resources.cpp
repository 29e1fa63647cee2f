// SPDX-License-Identifier: MIT
#include "framework/Resources.h"

namespace {
const ResourceTable* g_resources = nullptr;
}

void AfxSetResources(const ResourceTable* table) { g_resources = table; }

const ResourceTable* AfxGetResources() { return g_resources; }
