#include "framework/Resources.h"

#include "framework/String.h"

namespace {
const ResourceTable* g_resources = nullptr;
}

void AfxSetResources(const ResourceTable* table) { g_resources = table; }

const ResourceTable* AfxGetResources() { return g_resources; }

BOOL CString::LoadString(UINT id) {
    const char* text = g_resources && g_resources->findString ? g_resources->findString(id) : nullptr;
    m_text = text ? text : "";
    return text != nullptr;
}
