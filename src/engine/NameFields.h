#pragma once
// Fields in the texts of Insert and of Number's base name: "{taken:%Y-%m-%d}",
// "{make}", "{track:00}" and the like take their values from each file; "{{"
// and "}}" are literal braces. A text is parsed once per pass and filled in per
// file.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Expected.h"

namespace vt {

enum class TFieldKind : std::uint8_t {
  Taken,
  Modified,
  Make,
  Model,
  Width,
  Height,
  Artist,
  Album,
  Title,
  Year,
  Track,
  Name,
};

// What a file must be read for before a text's fields can be filled in (bits).
namespace FieldSource {
inline constexpr std::uint8_t None = 0;
inline constexpr std::uint8_t Stat = 1;   // date modified
inline constexpr std::uint8_t Image = 2;  // EXIF and XMP
inline constexpr std::uint8_t Audio = 4;  // tags
}  // namespace FieldSource

std::uint8_t SourceOf(TFieldKind kind);

struct TFieldPiece {
  std::string Literal;  // the text before the field (braces unescaped)
  std::optional<TFieldKind> Field;
  std::string Format;  // a date's strftime format
  int Width = 0;       // the track's zero-padded width
};

struct TFieldTemplate {
  std::vector<TFieldPiece> Pieces;
  std::uint8_t Sources = FieldSource::None;
};

enum class TFieldFault : std::uint8_t {
  UnknownField,    // "{colour}"
  BadFormat,       // "{taken:%Q}", "{make:x}", "{track:0a}"
  UnmatchedBrace,  // "{taken" or a lone "}"
};

struct TFieldError {
  TFieldFault Fault = TFieldFault::UnknownField;
  std::size_t Position = 0;  // 1-based, in characters, of the character at fault
};

TExpected<TFieldTemplate, TFieldError> ParseFieldTemplate(std::string_view text);

// A file's values; an empty text or a zero number is a value the file lacks.
struct TFieldValues {
  std::optional<std::tm> Taken;
  std::optional<std::tm> Modified;
  std::string Make;
  std::string Model;
  std::uint32_t Width = 0;
  std::uint32_t Height = 0;
  std::string Artist;
  std::string Album;
  std::string Title;
  std::uint32_t Year = 0;
  std::uint32_t Track = 0;
};

// Stands in for each character a field's value may not put into a name: those
// no typed text may hold (" / : < > \ | * ? .) and the control characters.
inline constexpr char kFieldStandIn = '_';

// The text with its fields filled in from values and name (the file's name
// without its extension); nothing when the file lacks a value a field needs.
std::optional<std::string> FillFields(const TFieldTemplate& fields, const TFieldValues& values, std::string_view name);

// "2025:06:14 10:11:12" (EXIF) or "2025-06-14T10:11:12" (XMP), seconds and the
// time of day optional; nothing for anything else.
std::optional<std::tm> ParseTakenDate(std::string_view text);

}  // namespace vt
