// SPDX-License-Identifier: MIT
#include "values/ValuesFileWriter.h"

ValuesFileWriter::ValuesFileWriter(std::string_view mapName) {
    m_text = "# tavlin values for ";
    for (const char c : mapName) m_text += c == '\n' || c == '\r' ? ' ' : c;
    m_text += '\n';
}

void ValuesFileWriter::Add(std::string_view name, std::string_view value) {
    m_text.append(name).append(" = ").append(value) += '\n';
}
