// SPDX-License-Identifier: MIT
#include "defs/SvdLoader.h"

#include <algorithm>
#include <cstring>
#include <string>

#include <pugixml.hpp>

#include "defs/FieldTable.h"
#include "defs/SvdElement.h"
#include "defs/SvdExpansion.h"
#include "defs/SvdNumbers.h"
#include "defs/SvdRowWriter.h"

std::string SvdProblem::Format(std::string_view displayName) const {
    std::string text(displayName);
    text += ':' + std::to_string(line) + ": ";
    if (!path.empty()) text += path + ": ";
    return text + this->text;
}

std::string SvdLoadResult::Message() const {
    if (!parsed) return parseError;
    if (problems.empty()) return {};
    const size_t count = problems.size() + problemsNotKept;
    std::string message = displayName + ": " + std::to_string(count) + (count == 1 ? " problem" : " problems") +
                          "; everything else was loaded.";
    for (size_t i = 0; i < problems.size() && i < kSvdProblemsShown; ++i) {
        const SvdProblem& problem = problems[i];
        message += "\nline " + std::to_string(problem.line) + ": ";
        if (!problem.path.empty()) message += problem.path + ": ";
        message += problem.text;
    }
    if (count > kSvdProblemsShown) message += "\n... and " + std::to_string(count - kSvdProblemsShown) + " more.";
    return message;
}

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
    return next == '>' || next == '/' || IsSvdSpace(next);
}

SvdLoadResult LoadSvdText(CPropTree& tree, CFieldTable& table, std::string_view bytes,
                          std::string_view displayName, std::size_t maxRows, std::size_t maxProblems) {
    SvdLoadResult result;
    result.displayName = displayName;
    pugi::xml_document document;
    const pugi::xml_parse_result parse =
        document.load_buffer(bytes.data(), bytes.size(), pugi::parse_cdata | pugi::parse_escapes | pugi::parse_embed_pcdata,
                             pugi::encoding_utf8);
    const SvdLines lines(bytes);
    if (!parse) {
        const auto offset = std::min<std::ptrdiff_t>(parse.offset, static_cast<std::ptrdiff_t>(bytes.size()));
        result.parseError = result.displayName + ":" + std::to_string(lines.LineOf(offset)) + ":" +
                            std::to_string(lines.ColumnOf(offset)) + ": not well-formed XML: " + parse.description();
        return result;
    }
    result.parsed = true;
    const pugi::xml_node device = document.document_element();
    SvdRowWriter writer(tree, table, result);
    if (std::strcmp(device.name(), "device") != 0) {
        const SvdPath top;
        writer.Problem(SvdProblemRecord{SvdPlace{&lines, device}, &top, "the first element is not <device>"});
        return result;
    }
    ExpandSvdDevice(device, lines, writer, SvdExpansionLimits{maxRows, kSvdMaxClusterDepth, maxProblems});
    table.ShrinkToFit();
    return result;
}
