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

    // kCannotRead: the file cannot be read; kNotThisFormat: no <tavlin> root;
    // kFormatFault: the text ends or goes wrong inside it.
    Status Run(const char* path) {
        if (!m_reader.Open(path)) return CannotRead();
        return Read();
    }

    Status Run(char* block) {
        if (!block) return CannotRead();
        m_reader.OpenText(block);
        return Read();
    }

private:
    Status CannotRead() const {
        return Status::Failure(ProblemCode::kCannotRead, "ERROR: Failed to load file - " + m_result.displayName);
    }
    // "NAME: expected WHAT!"
    Status Expected(const char* what, ProblemCode code = ProblemCode::kFormatFault) const {
        return Status::Failure(code, m_result.displayName + ": expected " + what + "!");
    }

    Status Read() {
        m_reader.AddDelimiter('=');
        m_reader.AddDelimiter('<');
        m_reader.AddDelimiter('>');
        Status loaded = LoadRoot();
        m_reader.Close();
        return loaded;
    }

    const char* Next() { return m_reader.NextToken(CTokenReader::kTokenCapacity); }

    // Passes over an attribute name, then returns the value after it.
    const char* Value() { return Next() ? Next() : nullptr; }

    Status LoadRoot() {
        if (!Is(Next(), "tavlin")) return Expected("<tavlin> tag", ProblemCode::kNotThisFormat);
        const char* token = Next();
        while (Is(token, "regset")) {
            if (Status loaded = LoadRegset(token); !loaded) return loaded;
        }
        return Is(token, "/tavlin") ? Succeeded() : Expected("</tavlin> tag");
    }

    // Reads the next texts of an element in order, each handed to its setter
    // as soon as it is read, so rows keep what came before a text that is
    // missing; false at the first one missing.
    template <typename... Setters>
    bool ReadTexts(Setters&&... setters) {
        const auto readOne = [this](auto& setter) {
            const char* text = Value();
            if (text) setter(text);
            return text != nullptr;
        };
        return (readOne(setters) && ...);
    }

    // Loads the `child` elements after an element's texts up to its `end`;
    // leaves `token` on the token after `end`.
    template <typename LoadChild>
    Status LoadChildren(const char*& token, const char* child, const char* end, const char* expected,
                        LoadChild loadChild) {
        token = Next();
        while (Is(token, child)) {
            if (Status loaded = loadChild(); !loaded) return loaded;
        }
        if (!Is(token, end)) return Expected(expected);
        token = Next();
        return Succeeded();
    }

    // Loads one set; leaves `token` on the token after "/regset".
    Status LoadRegset(const char*& token) {
        auto* set = m_tree.NewItem<CPropTreeItem>(nullptr);
        ++m_result.registerSets;
        if (!ReadTexts([set](const char* label) { set->SetLabelText(label); },
                       [set](const char* info) { set->SetInfoText(info); }))
            return Expected("</regset> tag");
        return LoadChildren(token, "register", "/regset", "</regset> tag", [&] { return LoadRegister(set, token); });
    }

    Status LoadRegister(CPropTreeItem* set, const char*& token) {
        auto* reg = m_map.AddRegister(set);
        ++m_result.registers;
        if (!ReadTexts([reg](const char* label) { reg->SetLabelText(label); },
                       [reg](const char* width) { reg->m_nBits = ParseDecimalInt32(width); },
                       [reg](const char* value) { reg->SetItemValue(reinterpret_cast<LPARAM>(value)); },
                       [reg](const char* info) { reg->SetInfoText(info); }))
            return Expected("</register> tag");
        return LoadChildren(token, "field", "/register", "</register> tag", [&] { return LoadField(reg, token); });
    }

    Status LoadField(CPropTreeItem* reg, const char*& token) {
        const char* labelToken = Value();
        if (!labelToken) return Expected("</field> tag");
        const Label label(labelToken);
        const char* kind = Value();
        const bool isCombo = Is(kind, "combo");
        if (!isCombo && !Is(kind, "edit")) return Expected("field type of 'edit' or 'combo'");

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
        if (!info) return Expected("</field> tag");
        row->SetInfoText(info);
        if (!isCombo) row->SetItemValue(reinterpret_cast<LPARAM>("0x0"));

        FieldSpan span;
        span.bCombo = isCombo;
        const char* low = Value();
        if (!low) return Expected("</field> tag");
        span.nLowBit = ParseDecimalInt32(low);
        const char* high = Value();
        if (!high) return Expected("</field> tag");
        span.nHighBit = ParseDecimalInt32(high);
        m_table.Set(row, span);

        token = Next();
        if (isCombo) {
            while (Is(token, "select")) {
                if (!LoadChoice(combo)) return Expected("</field> tag");
                token = Next();
            }
            combo->SendMessage(CB_SETCURSEL, 0, 0);
            combo->SetItemValue(combo->SendMessage(CB_GETITEMDATA, 0, 0));
        }
        if (!Is(token, "/field")) return Expected("</field> tag");
        token = Next();
        return Succeeded();
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
    const Status loaded = Loader(map, result).Run(source);
    map.FinishLoad();
    if (!loaded) result.problems.Add(loaded.Error());
    result.opened = !loaded.Failed(ProblemCode::kCannotRead) && !loaded.Failed(ProblemCode::kNotThisFormat);
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
