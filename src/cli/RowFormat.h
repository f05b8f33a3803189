#pragma once
// The three ways rows are written: an aligned table for people at a terminal,
// tab-separated lines and JSON lines for scripts. Every format gives the cells
// in the order File, New Name, Path, Status.
#include <string>
#include <string_view>
#include <vector>

#include "passes/ResultTable.h"

namespace vt {

enum class TOutputFormat { Table, Tsv, Json };

// One line, ending in "\n". Backslash, tab, newline and carriage return inside a
// cell are written as \\, \t, \n and \r, so a line always holds exactly four cells.
void AppendTsvRow(std::string& out, const TResultRow& row);

// One JSON object per line, keys "File", "New Name", "Path", "Status". Names are
// bytes: valid UTF-8 is kept, every other byte b becomes the escape \udcXX (XX its
// value), the convention that lets a reader get the exact bytes back.
void AppendJsonRow(std::string& out, const TResultRow& row);

// A header line with the column captions, then one line per row, columns padded
// to their widest cell. Control characters and bytes that are not UTF-8 are shown
// as \xNN, so that no name can drive the terminal.
std::string FormatTable(const std::vector<TResultRow>& rows);

// The pieces, for other writers and the tests.
std::string TsvCell(std::string_view text);
std::string JsonString(std::string_view text);
std::string TerminalText(std::string_view text);
// Length of the valid UTF-8 sequence starting at text[at], 0 if there is none.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at);

}  // namespace vt
