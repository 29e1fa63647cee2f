// SPDX-License-Identifier: MIT
#pragma once
// File names are UTF-8 text everywhere inside tavlin: the command line, the
// file dialog, dropped files, the recent list and the settings all hand them
// on as such. They become the system's own form only here, where a file is
// opened: on Windows a narrow name would go through the ANSI code page and
// lose every character outside it ("C:\Users\Jörg\Документы\chip.svd").
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

// The path a UTF-8 name stands for, as a file is opened by it: on Windows a
// long one (MAX_PATH and over) in the system's extended form ("\\?\C:\...").
std::filesystem::path PathFromUtf8(std::string_view utf8);
// A path's name as UTF-8 text.
std::string Utf8FromPath(const std::filesystem::path& path);
// The file name of the last part of a UTF-8 path ("chip.svd"), as UTF-8.
std::string Utf8FileName(std::string_view utf8);
// The folder of a UTF-8 path, as UTF-8.
std::string Utf8ParentFolder(std::string_view utf8);
// The path made absolute and normal ("C:/maps/../chip.svd" is "C:\\chip.svd"),
// as UTF-8; the path as given where the system cannot tell.
std::string Utf8AbsolutePath(std::string_view utf8);
// std::fopen for a UTF-8 name; `mode` as fopen takes it ("rb", "wb").
std::FILE* OpenFileUtf8(std::string_view utf8, const char* mode);
