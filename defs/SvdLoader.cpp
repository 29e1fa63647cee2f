#include "defs/SvdLoader.h"

std::string SvdProblem::Format(std::string_view displayName) const {
    std::string text(displayName);
    text += ':' + std::to_string(line) + ": ";
    if (!path.empty()) text += path + ": ";
    return text + this->text;
}

std::string SvdLoadResult::Message() const { return {}; }

bool IsSvdText(std::string_view) { return false; }

SvdLoadResult LoadSvdText(CPropTree&, CFieldTable&, std::string_view, std::string_view displayName) {
    SvdLoadResult result;
    result.displayName = displayName;
    return result;
}
