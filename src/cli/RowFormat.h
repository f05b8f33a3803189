#pragma once
// The three ways rows are written: an aligned table for people at a terminal,
// tab-separated lines and JSON lines for scripts. Every format gives the cells
// in the order File, New Name, Path, Status.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "passes/ResultTable.h"

namespace vt {

enum class TOutputFormat { Table, Tsv, Json };

// Where the text goes: a terminal acts on control characters, a pipe or file
// takes the bytes.
enum class TOutputTarget { Pipe, Terminal };

// One line, ending in "\n". Backslash, tab, newline and carriage return inside a
// cell are written as \\, \t, \n and \r, so a line always holds exactly four cells.
// For a terminal, other controls (C0, DEL, C1), the direction controls that
// reorder a line and bytes that are not UTF-8 are written as \xNN as well.
void AppendTsvRow(std::string& out, const TResultRow& row, TOutputTarget target = TOutputTarget::Pipe);

// One JSON object per line, keys "File", "New Name", "Path", "Status", and
// "reason" when one is given. Names are bytes: valid UTF-8 is kept, every other
// byte b becomes the escape \udcXX (XX its value), the convention that lets a
// reader get the exact bytes back. Controls (C0, DEL, C1) are always escaped,
// as \u00XX where JSON has no shorter form. For a terminal the direction controls
// are written as \u202e and the like: the same text to a reader, and no name
// shows as another.
void AppendJsonRow(std::string& out, const TResultRow& row, std::string_view reason = {},
                   TOutputTarget target = TOutputTarget::Pipe);

// A header line with the column captions, then one line per row, columns padded
// to their widest cell. Control characters, the direction controls that reorder
// a line and bytes that are not UTF-8 are shown as \xNN, so that no name can drive
// the terminal or pass for another.
std::string FormatTable(const TResultRows& rows);

inline constexpr std::array<std::string_view, 4> kTableCaptions{"File", "New Name", "Path", "Status"};

// The same table a row at a time, for rows that are not all in memory: every
// row is measured first, then the header and the rows are written.
class TTableLayout {
 public:
  TTableLayout();
  void Measure(const TResultRow& row);
  void AppendHeader(std::string& out) const;
  void AppendRow(std::string& out, const TResultRow& row) const;

 private:
  void AppendLine(std::string& out, const std::array<std::string, 4>& line) const;
  std::array<std::size_t, 4> Widths_{};
};

// The pieces, for other writers and the tests.
std::string TsvCell(std::string_view text, TOutputTarget target = TOutputTarget::Pipe);
std::string JsonString(std::string_view text, TOutputTarget target = TOutputTarget::Pipe);
std::string TerminalText(std::string_view text);
// Code points, which is how wide a cell of escaped text shows in most terminals.
std::size_t DisplayWidth(std::string_view text);
// Length of the valid UTF-8 sequence starting at text[at], 0 if there is none.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at);

}  // namespace vt
