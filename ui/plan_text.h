// The dialog's plan text, from wherever it comes: the clipboard's UTF-16 or
// a file's bytes (UTF-8 with or without a byte-order mark, else the ANSI
// code page, as Excel's plain CSV save writes), turned into the ANSI code
// page the dialog works in; and the sheets it saves, turned into UTF-8.
#pragma once

#include <cstddef>
#include <string>

namespace lumora {

// The most plan text the dialog takes, from a paste or a file: far more
// than a sheet of the most cameras lumora lists.
constexpr std::size_t kMostPlanBytes = 16u << 20;

// `wide` (UTF-16, `length` units) in the ANSI code page. A character the
// code page cannot hold is not replaced by a look-alike or "?": false, with
// `problem` naming its line and column (from 1, in characters).
bool AnsiPlanText(const wchar_t* wide, std::size_t length, std::string& text, std::string& problem);

// A plan file's bytes as the dialog's plan text; false with `problem` when
// it is larger than kMostPlanBytes, holds a NUL, or holds a character the
// ANSI code page cannot hold.
bool PlanTextOfFile(const std::string& bytes, std::string& text, std::string& problem);

// ANSI code page text as UTF-8, with the byte-order mark in front: what
// Excel reads as UTF-8 when the file is double-clicked.
std::string Utf8FileText(const std::string& ansi);

}  // namespace lumora
