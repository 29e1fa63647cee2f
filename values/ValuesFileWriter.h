// SPDX-License-Identifier: MIT
#pragma once
// Writes a values file: "# tavlin values for FILE", then one
// "NAME = VALUE" line a register, in the order the caller adds them. Reading
// the text back (ReadValuesText) gives each register the same value.
// Lines end in LF on every system, Windows too: Notepad reads LF (since
// Windows 10 1809), every reader of tavlin's takes CRLF and LF alike, and a
// file saved on one system then compares byte for byte with one from another.
#include <string>
#include <string_view>

class ValuesFileWriter {
public:
    // `mapName` names the map the values are for; line breaks in it become spaces.
    explicit ValuesFileWriter(std::string_view mapName);

    // `name` the register's label path, `value` its value as the hex box writes it ("0x00000301").
    void Add(std::string_view name, std::string_view value);

    const std::string& Text() const { return m_text; }

private:
    std::string m_text;
};
