// SPDX-License-Identifier: MIT
#include "defs/SvdLoader.h"

#include <algorithm>
#include <cstring>
#include <string>

#include <pugixml.hpp>

#include "defs/CoreRegisters.h"
#include "defs/RegisterMap.h"
#include "defs/SvdElement.h"
#include "defs/SvdExpansion.h"
#include "defs/SvdNumbers.h"
#include "defs/SvdRowWriter.h"

bool IsSvdText(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    for (;;) {
        bytes = TrimSvdText(bytes);
        std::string_view end;
        if (bytes.substr(0, 4) == "<!--") end = "-->";
        else if (bytes.substr(0, 2) == "<?") end = "?>";
        else if (bytes.substr(0, 2) == "<!") end = ">";
        else break;
        const size_t at = bytes.find(end);
        if (at == std::string_view::npos) return false;
        bytes.remove_prefix(at + end.size());
    }
    if (bytes.substr(0, 7) != "<device") return false;
    if (bytes.size() == 7) return true;
    const char next = bytes[7];
    return next == '>' || next == '/' || IsAsciiSpace(next);
}

LoadReport LoadSvdText(CRegisterMap& map, std::string_view bytes, std::string_view displayName, std::size_t maxRows,
                       std::size_t maxProblems) {
    LoadReport result;
    result.format = RegisterFileFormat::Svd;
    result.displayName = displayName;
    pugi::xml_document document;
    const pugi::xml_parse_result parse = ParseSvdDocument(document, bytes);
    const SvdLines lines(bytes);
    if (!parse) {
        const auto offset = std::min<std::ptrdiff_t>(parse.offset, static_cast<std::ptrdiff_t>(bytes.size()));
        Problem problem = MakeProblem(ProblemCode::kNotWellFormed, std::string("not well-formed XML: ") + parse.description());
        problem.line = lines.LineOf(offset);
        problem.column = lines.ColumnOf(offset);
        result.problems.Add(std::move(problem));
        return result;
    }
    result.opened = true;
    const pugi::xml_node device = document.document_element();
    SvdRowWriter writer(map, result);
    if (std::strcmp(device.name(), "device") != 0) {
        const SvdPath top;
        writer.Problem(SvdProblemRecord{SvdPlace{&lines, device}, &top, ProblemCode::kNotThisFormat, "the first element is not <device>"});
        return result;
    }
    const pugi::xml_node cpu = device.child("cpu");
    map.SetBigEndian(SvdText(cpu.child("endian")) == "big");
    ExpandSvdDevice(device, lines, writer, SvdExpansionLimits{maxRows, kSvdMaxClusterDepth, maxProblems});
    // The processor's own registers, which vendor files leave out, for the core <cpu> names.
    if (const CoreInfo* core = FindCore(SvdText(cpu.child("name"))))
        AddCoreRegisters(map, *core, result,
                         CoreUnits{SvdText(cpu.child("mpuPresent")) != "false", SvdText(cpu.child("fpuPresent")) != "false"});
    map.FinishLoad();
    return result;
}
