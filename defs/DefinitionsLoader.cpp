// SPDX-License-Identifier: MIT
#include "defs/DefinitionsLoader.h"

#include <cstring>
#include <string>
#include <utility>

#include "defs/DecimalNumber.h"
#include "defs/RegisterMap.h"
#include "defs/TokenReader.h"
#include "tree/PropTree.h"
#include "tree/PropTreeItemCombo.h"
#include "tree/PropTreeItemEdit.h"

namespace {

// Field and choice labels are held in 256-byte places while the rest of
// their element is read; longer labels are cut to fit.
constexpr size_t kMaxLabelLength = 255;
constexpr DWORD kComboListStyle = WS_CHILD | WS_VSCROLL | CBS_SORT | CBS_DROPDOWNLIST;

// Which closing tag or keyword the load stopped at.
enum class Failure { None, OpenFile, Root, EndRoot, EndRegset, EndRegister, FieldKind, EndField };

std::string MessageFor(Failure failure, const std::string& name) {
    switch (failure) {
    case Failure::None: return {};
    case Failure::OpenFile: return "ERROR: Failed to load file - " + name;
    case Failure::Root: return name + ": expected <tavlin> tag!";
    case Failure::EndRoot: return name + ": expected </tavlin> tag!";
    case Failure::EndRegset: return name + ": expected </regset> tag!";
    case Failure::EndRegister: return name + ": expected </register> tag!";
    case Failure::FieldKind: return name + ": expected field type of 'edit' or 'combo'!";
    case Failure::EndField: return name + ": expected </field> tag!";
    }
    return {};
}

ProblemCode CodeOf(Failure failure) {
    switch (failure) {
    case Failure::OpenFile: return ProblemCode::kCannotRead;
    case Failure::Root: return ProblemCode::kNotThisFormat;
    default: return ProblemCode::kFormatFault;
    }
}

// Keywords are short: compared here byte by byte rather than through a call.
bool Is(const char* token, const char* keyword) {
    if (!token) return false;
    while (*keyword && *token == *keyword) ++token, ++keyword;
    return *token == *keyword;
}

// A label cut to what its 256-byte place holds.
struct Label {
    explicit Label(const char* token) {
        const size_t length = strnlen(token, kMaxLabelLength);
        std::memcpy(text, token, length);
        text[length] = '\0';
    }
    char text[kMaxLabelLength + 1];
};

// One load: walks the grammar with the reader, building rows as it goes.
// A token missing where a value is expected stops the load with the message
// of the element being read, as if its closing tag were missing.
class Loader {
public:
    Loader(CRegisterMap& map, LoadReport& result)
        : m_map(map), m_tree(map.Tree()), m_table(map.Fields()), m_result(result) {}

    Failure Run(const char* path) {
        if (m_reader.Open(path) != 0) return Failure::OpenFile;
        return Read();
    }

    Failure Run(char* block) {
        if (!block) return Failure::OpenFile;
        m_reader.OpenText(block);
        return Read();
    }

private:
    Failure Read() {
        m_reader.AddDelimiter('=');
        m_reader.AddDelimiter('<');
        m_reader.AddDelimiter('>');
        const Failure failure = LoadRoot();
        m_reader.Close();
        return failure;
    }

    const char* Next() { return m_reader.NextToken(CTokenReader::kTokenCapacity); }

    // Passes over an attribute name, then returns the value after it.
    const char* Value() { return Next() ? Next() : nullptr; }

    Failure LoadRoot() {
        if (!Is(Next(), "tavlin")) return Failure::Root;
        const char* token = Next();
        while (Is(token, "regset")) {
            if (const Failure f = LoadRegset(token); f != Failure::None) return f;
        }
        return Is(token, "/tavlin") ? Failure::None : Failure::EndRoot;
    }

    // Loads one set; leaves `token` on the token after "/regset".
    Failure LoadRegset(const char*& token) {
        auto* set = m_tree.NewItem<CPropTreeItem>(nullptr);
        ++m_result.registerSets;
        const char* label = Value();
        if (!label) return Failure::EndRegset;
        set->SetLabelText(label);
        const char* info = Value();
        if (!info) return Failure::EndRegset;
        set->SetInfoText(info);
        token = Next();
        while (Is(token, "register")) {
            if (const Failure f = LoadRegister(set, token); f != Failure::None) return f;
        }
        if (!Is(token, "/regset")) return Failure::EndRegset;
        token = Next();
        return Failure::None;
    }

    Failure LoadRegister(CPropTreeItem* set, const char*& token) {
        auto* reg = m_map.AddRegister(set);
        ++m_result.registers;
        const char* label = Value();
        if (!label) return Failure::EndRegister;
        reg->SetLabelText(label);
        const char* width = Value();
        if (!width) return Failure::EndRegister;
        reg->m_nBits = ParseDecimalInt32(width);
        const char* valueText = Value();
        if (!valueText) return Failure::EndRegister;
        reg->SetItemValue(reinterpret_cast<LPARAM>(valueText));
        const char* info = Value();
        if (!info) return Failure::EndRegister;
        reg->SetInfoText(info);
        token = Next();
        while (Is(token, "field")) {
            if (const Failure f = LoadField(reg, token); f != Failure::None) return f;
        }
        if (!Is(token, "/register")) return Failure::EndRegister;
        token = Next();
        return Failure::None;
    }

    Failure LoadField(CPropTreeItem* reg, const char*& token) {
        const char* labelToken = Value();
        if (!labelToken) return Failure::EndField;
        const Label label(labelToken);
        const char* kind = Value();
        const bool isCombo = Is(kind, "combo");
        if (!isCombo && !Is(kind, "edit")) return Failure::FieldKind;

        CPropTreeItem* row = nullptr;
        CPropTreeItemCombo* combo = nullptr;
        if (isCombo) {
            combo = m_tree.NewItem<CPropTreeItemCombo>(reg);
            row = combo;
            combo->CreateComboBox(kComboListStyle);
        } else {
            row = m_tree.NewItem<CPropTreeItemEdit>(reg);
        }
        ++m_result.fields;
        row->SetLabelText(label.text);
        const char* info = Value();
        if (!info) return Failure::EndField;
        row->SetInfoText(info);
        if (!isCombo) row->SetItemValue(reinterpret_cast<LPARAM>("0x0"));

        FieldSpan span;
        span.bCombo = isCombo;
        const char* low = Value();
        if (!low) return Failure::EndField;
        span.nLowBit = ParseDecimalInt32(low);
        const char* high = Value();
        if (!high) return Failure::EndField;
        span.nHighBit = ParseDecimalInt32(high);
        m_table.Set(row, span);

        token = Next();
        if (isCombo) {
            while (Is(token, "select")) {
                if (!LoadChoice(combo)) return Failure::EndField;
                token = Next();
            }
            combo->SendMessage(CB_SETCURSEL, 0, 0);
            combo->SetItemValue(combo->SendMessage(CB_GETITEMDATA, 0, 0));
        }
        if (!Is(token, "/field")) return Failure::EndField;
        token = Next();
        return Failure::None;
    }

    // Adds one choice to the list; false when the text ends inside it.
    bool LoadChoice(CPropTreeItemCombo* combo) {
        const char* labelToken = Value();
        if (!labelToken) return false;
        const Label label(labelToken);
        const LRESULT index = combo->AddString(label.text);
        const char* value = Value();
        if (!value) return false;
        combo->SetItemData(static_cast<WPARAM>(index), ParseDecimalInt32(value));
        return Next() != nullptr;  // the '/' of a self-closing choice
    }

    CRegisterMap& m_map;
    CPropTree& m_tree;
    CFieldTable& m_table;
    LoadReport& m_result;
    CTokenReader m_reader;
};

}  // namespace

namespace {

template <typename Source>
LoadReport Load(CRegisterMap& map, Source source, const char* displayName) {
    LoadReport result;
    result.displayName = displayName ? displayName : "";
    const Failure failure = Loader(map, result).Run(source);
    map.FinishLoad();
    if (failure != Failure::None) {
        result.problems.Add(MakeProblem(CodeOf(failure), MessageFor(failure, result.displayName)));
    }
    result.opened = failure != Failure::OpenFile && failure != Failure::Root;
    return result;
}

}  // namespace

LoadReport LoadDefinitionsFile(CRegisterMap& map, const char* path, const char* displayName) {
    return Load(map, path, displayName ? displayName : path);
}

LoadReport LoadDefinitionsBlock(CRegisterMap& map, char* block, const char* displayName) {
    return Load(map, block, displayName);
}

LoadReport LoadDefinitionsText(CRegisterMap& map, std::string_view text, const char* displayName) {
    return LoadDefinitionsBlock(map, NewTextBlock(text), displayName);
}

bool IsDefinitionsText(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '#') {
            const std::size_t end = text.find('\n', i);
            if (end == std::string_view::npos) return false;
            i = end + 1;
        } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++i;
        } else {
            return text.substr(i, 7) == "<tavlin";
        }
    }
    return false;
}
