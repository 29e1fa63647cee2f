// SPDX-License-Identifier: MIT
#include "framework/String.h"

#include "framework/Resources.h"

BOOL CString::LoadString(UINT id) {
    const ResourceTable* resources = AfxGetResources();
    const char* text = resources && resources->findString ? resources->findString(id) : nullptr;
    m_text = text ? text : "";
    return text != nullptr;
}
