// SPDX-License-Identifier: MIT
#include "calc/CodeStatement.h"

#include <algorithm>

#include "bits/BitArithmetic.h"
#include "bits/NumberFormatting.h"
#include "defs/CoreHeaderNames.h"
#include "defs/CoreRegisters.h"
#include "defs/HeaderNameTable.h"
#include "defs/RegisterMap.h"

namespace {

// "0x" and `value` in capital hex digits, then the suffix.
void AppendNumber(std::string& out, std::uint64_t value, const char* suffix) {
    out.append("0x").append(HexDigitsText(value, HexLetters::kUpper)).append(suffix);
}

// A comment's text, which cannot end the comment early.
void AppendCommentText(std::string& out, std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == '*' && i + 1 < text.size() && text[i + 1] == '/') out += ' ';
    }
}

const CRegisterItem& RegisterAt(const CRegisterMap& map, std::size_t index) { return *map.Registers()[index]; }

std::string_view SetLabel(const CRegisterItem& reg) {
    const CPropTreeItem* set = reg.GetParent();
    return set ? set->GetLabelText() : "";
}

// The register's name without its index: "SHP" of "SHP[2]".
std::string_view WithoutIndex(std::string_view label) { return label.substr(0, std::min(label.find('['), label.size())); }

// How the map's core's header names a core register.
CoreRegisterHeaderName CoreHeaderNameOf(const CRegisterMap& map, const CRegisterItem& reg) {
    return CoreRegisterHeaderNameOf(map.Core() ? map.Core()->name : std::string_view(), SetLabel(reg),
                               WithoutIndex(reg.GetLabelText()));
}

}  // namespace

std::string CodeLeftHandSide(const CRegisterMap& map, std::size_t index) {
    const CRegisterItem& reg = RegisterAt(map, index);
    const std::string_view label = reg.GetLabelText();
    std::string out;
    const std::optional<RegisterHeaderNames> names = map.HeaderNames().Of(index);
    if (!names) {
        AppendCodeIdentifierPart(out, SetLabel(reg));
        out += "->";
        AppendCodeIdentifierPart(out, label);
        return out;
    }
    if (names->core) {
        // Its member in the core's struct, with the map's index.
        const CoreRegisterHeaderName core = CoreHeaderNameOf(map, reg);
        out.append(names->instancePrefix).append(core.set).append("->");
        out.append(core.member).append(label.substr(WithoutIndex(label).size())).append(core.after);
        return out;
    }
    out.append(names->instancePrefix).append(SetLabel(reg)).append("->");
    // The clusters' members as the label has them ("CH[2]."), then the
    // register's member, its affixes around its name and before its index.
    const std::size_t dot = label.rfind('.');
    const std::size_t start = dot == std::string_view::npos ? 0 : dot + 1;
    const std::string_view member = label.substr(start);
    const std::size_t bracket = std::min(member.find('['), member.size());
    out.append(label.substr(0, start)).append(names->prependToName).append(member.substr(0, bracket));
    out.append(names->appendToName).append(member.substr(bracket));
    return out;
}

std::string CodeFieldMacro(const CRegisterMap& map, std::size_t index, const CPropTreeItem& field) {
    const CRegisterItem& reg = RegisterAt(map, index);
    std::string out;
    const std::optional<RegisterHeaderNames> names = map.HeaderNames().Of(index);
    if (names && names->core) {
        out = CoreHeaderNameOf(map, reg).macro;
        out += '_';
        AppendCodeIdentifierPart(out, field.GetLabelText());
        return CoreFieldMacro(map.Core() ? map.Core()->name : std::string_view(), out);
    }
    if (names) {
        out = names->macro;
    } else {
        AppendCodeIdentifierPart(out, SetLabel(reg));
        out += '_';
        AppendCodeIdentifierPart(out, reg.GetLabelText());
    }
    out += '_';
    AppendCodeIdentifierPart(out, field.GetLabelText());
    return out;
}

bool HasCodeFieldMacros(const CRegisterMap& map, std::size_t index) {
    const std::optional<RegisterHeaderNames> names = map.HeaderNames().Of(index);
    return !names || names->hasFields;
}

std::string CodeStatement(const CRegisterMap& map, std::size_t index, std::uint64_t value) {
    const CRegisterItem& reg = RegisterAt(map, index);
    const char* suffix = reg.m_nBits > 32 ? "ULL" : "UL";
    std::string out = CodeLeftHandSide(map, index) + " = ";
    std::string named;  // "PARITY = ODD, ..." of the drop-down fields in the value
    std::uint64_t covered = 0;
    bool any = false;
    const auto term = [&] {
        if (any) out += " | ";
        any = true;
    };
    if (HasCodeFieldMacros(map, index)) {
        for (const CPropTreeItem* row = reg.GetChild(); row; row = row->GetSibling()) {
            const FieldSpan* span = map.Fields().Find(row);
            if (!span) continue;
            // A field its header gives no macro is written in the plain number.
            const std::string macro = CodeFieldMacro(map, index, *row);
            if (macro.empty()) continue;
            covered |= FieldPlacement(span->nLowBit, span->nHighBit);
            const std::uint64_t share = ShiftRight64(value, span->nLowBit) & FieldMask(span->nLowBit, span->nHighBit);
            if (share == 0 || span->nLowBit < 0 || span->nLowBit > 63) continue;
            term();
            if (span->nHighBit == span->nLowBit) {
                out += macro + "_Msk";
            } else {
                out += '(';
                AppendNumber(out, share, suffix);
                out += " << " + macro + "_Pos)";
            }
            // A drop-down row names its value where its text is no bare number.
            if (row->GetKind() == PropRowKind::Combo) {
                const std::string text = row->GetAttributeText();
                if (text != std::to_string(row->GetItemValue())) {
                    if (!named.empty()) named += ", ";
                    named.append(row->GetLabelText()).append(" = ").append(text);
                }
            }
        }
    }
    if (const std::uint64_t rest = value & ~covered; rest != 0) {
        term();
        AppendNumber(out, rest, suffix);
    }
    if (!any) out += "0UL";
    if (const std::optional<RegisterHeaderNames> names = map.HeaderNames().Of(index); names && names->core) {
        // No statement compiles for a register the core's header has no member for: it is told as a comment.
        const std::string_view core = map.Core() ? map.Core()->name : std::string_view();
        if (CoreLacksRegister(core, SetLabel(reg), WithoutIndex(reg.GetLabelText()))) {
            std::string header = "core_";
            for (const char c : core) header += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
            out = "// " + out + "; " + header + ".h declares no such register";
            if (map.AccessOf(reg) == RowAccess::ReadOnly) out += " (read-only)";
            return out;
        }
    }
    out += ';';
    if (!named.empty()) {
        out += " /* ";
        AppendCommentText(out, named);
        out += " */";
    }
    if (map.AccessOf(reg) == RowAccess::ReadOnly) out += " /* read-only */";
    return out;
}

namespace {

bool IsChangedWritable(const CRegisterMap& map, const CRegisterItem& reg) {
    return map.AccessOf(reg) != RowAccess::ReadOnly && map.ChangedBits(reg) != 0;
}

}  // namespace

std::string ChangedCodeStatements(const CRegisterMap& map) {
    std::string out;
    for (std::size_t i = 0; i < map.Registers().size(); ++i) {
        const CRegisterItem& reg = *map.Registers()[i];
        if (!IsChangedWritable(map, reg)) continue;
        out += CodeStatement(map, i, map.ValueOf(reg)->value);
        out += '\n';
    }
    return out;
}

bool HasChangedCodeStatements(const CRegisterMap& map) {
    for (const CRegisterItem* reg : map.Registers())
        if (IsChangedWritable(map, *reg)) return true;
    return false;
}
