# SPDX-License-Identifier: MIT
# Writes OUT, a C++ source holding each core map in IN_FILES as bytes, so the
# program carries its core registers without reading files at run time.
set(body "")
set(table "")
set(index 0)
foreach(file IN LISTS IN_FILES)
  get_filename_component(stem "${file}" NAME_WE)
  file(READ "${file}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR bytes "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," hex "${hex}")
  string(REGEX REPLACE "(('\\\\x[0-9a-f][0-9a-f]',){16})" "\\1\n" hex "${hex}")
  string(APPEND body "const char kMap${index}[] = {\n${hex}};\n")
  string(APPEND table "    {\"${stem}\", std::string_view(kMap${index}, ${bytes})},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUT}.new" "// Generated from cores/*.svd by cores/EmbedCoreMaps.cmake.
#include \"defs/CoreMapTexts.h\"

namespace {
${body}
const CoreMapText kTexts[] = {
${table}};
}  // namespace

std::span<const CoreMapText> CoreMapTexts() { return kTexts; }
")
file(COPY_FILE "${OUT}.new" "${OUT}" ONLY_IF_DIFFERENT)
