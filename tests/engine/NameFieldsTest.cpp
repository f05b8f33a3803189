#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "engine/NameFields.h"

namespace vt::test {
namespace {

std::tm Date(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  std::tm date{};
  date.tm_year = year - 1900;
  date.tm_mon = month - 1;
  date.tm_mday = day;
  date.tm_hour = hour;
  date.tm_min = minute;
  date.tm_sec = second;
  return date;
}

TFieldValues Values() {
  TFieldValues values;
  values.Taken = ParseTakenDate("2025:06:14 09:05:07");
  values.Modified = Date(2024, 1, 2, 3, 4, 5);
  values.Make = "Canon";
  values.Model = "EOS R6";
  values.Width = 6000;
  values.Height = 4000;
  values.Artist = "Nina Simone";
  values.Album = "Pastel Blues";
  values.Title = "Sinnerman";
  values.Year = 1965;
  values.Track = 7;
  return values;
}

TEST(NameFields, FillsEveryFieldAndTheLiteralBraces) {
  struct Case {
    const char* Text;
    const char* Filled;
  };
  for (const Case& c : {
           Case{"{taken}", "2025-06-14"},
           Case{"{taken:%Y%m%d-%H%M%S}", "20250614-090507"},
           Case{"{taken:%A %d %B %j}", "Saturday 14 June 165"},
           Case{"{modified:%Y-%m-%d %Hh%M}", "2024-01-02 03h04"},
           Case{"{make} {model}", "Canon EOS R6"},
           Case{"{width}x{height}", "6000x4000"},
           Case{"{artist} - {album} ({year})", "Nina Simone - Pastel Blues (1965)"},
           Case{"{track:00} {title}", "07 Sinnerman"},
           Case{"{track:0000}", "0007"},
           Case{"{track}", "7"},
           Case{"{name} copy", "IMG_0001 copy"},
           Case{"{{name}} {{{name}}}", "{name} {IMG_0001}"},
           Case{"plain", "plain"},
       }) {
    SCOPED_TRACE(c.Text);
    const auto fields = ParseFieldTemplate(c.Text);
    ASSERT_TRUE(fields);
    EXPECT_EQ(FillFields(*fields, Values(), "IMG_0001"), std::optional<std::string>(c.Filled));
  }
}

TEST(NameFields, RefusesWhatCannotBeFilledWithItsPosition) {
  struct Case {
    const char* Text;
    TFieldFault Fault;
    std::size_t Position;
  };
  for (const Case& c : {
           Case{"{colour}", TFieldFault::UnknownField, 1},
           Case{"ab {Taken}", TFieldFault::UnknownField, 4},
           Case{"é{nom}", TFieldFault::UnknownField, 2},
           Case{"{taken:%Q}", TFieldFault::BadFormat, 8},
           Case{"{taken:%Y-%}", TFieldFault::BadFormat, 11},
           Case{"{modified:}", TFieldFault::BadFormat, 11},
           Case{"{make:upper}", TFieldFault::BadFormat, 6},
           Case{"{track:0a}", TFieldFault::BadFormat, 9},
           Case{"{track:}", TFieldFault::BadFormat, 8},
           Case{"x{taken", TFieldFault::UnmatchedBrace, 2},
           Case{"{ta{ken}", TFieldFault::UnmatchedBrace, 1},
           Case{"a}b", TFieldFault::UnmatchedBrace, 2},
       }) {
    SCOPED_TRACE(c.Text);
    const auto fields = ParseFieldTemplate(c.Text);
    ASSERT_FALSE(fields);
    EXPECT_EQ(fields.Error().Fault, c.Fault);
    EXPECT_EQ(fields.Error().Position, c.Position);
  }
}

TEST(NameFields, SaysWhatEachTextNeedsReadFromAFile) {
  struct Case {
    const char* Text;
    std::uint8_t Sources;
  };
  for (const Case& c : {
           Case{"{name} x", FieldSource::None},
           Case{"{modified}", FieldSource::Stat},
           Case{"{taken} {width}", FieldSource::Image},
           Case{"{track:00} {make} {modified}", FieldSource::Audio | FieldSource::Image | FieldSource::Stat},
       }) {
    SCOPED_TRACE(c.Text);
    EXPECT_EQ(ParseFieldTemplate(c.Text)->Sources, c.Sources);
  }
}

TEST(NameFields, AFileLackingAValueIsNotFilledIn) {
  for (const char* text : {"{taken}", "{make}", "{width}", "{artist}", "{year}", "{track:00}", "{modified}"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(FillFields(*ParseFieldTemplate(text), TFieldValues(), "a"), std::nullopt);
  }
}

TEST(NameFields, ValuesLoseWhatANameCannotHold) {
  TFieldValues values;
  values.Make = "A/B:C\x01\x7F*?.\"<>|\\é";
  values.Modified = Date(2024, 1, 2, 3, 4, 5);
  EXPECT_EQ(FillFields(*ParseFieldTemplate("{make}"), values, "n"), "A_B_C__________é");
  EXPECT_EQ(FillFields(*ParseFieldTemplate("{modified:%Y/%m/%d %H:%M%n}"), values, "n"), "2024_01_02 03_04_");
}

TEST(NameFields, ReadsTheDatesOfExifAndXmp) {
  struct Case {
    const char* Text;
    std::optional<std::tm> Date;
  };
  for (const Case& c : {
           Case{"2025:06:14 10:11:12", Date(2025, 6, 14, 10, 11, 12)},
           Case{"2025-06-14T10:11:12+02:00", Date(2025, 6, 14, 10, 11, 12)},
           Case{"2025-06-14T10:11", Date(2025, 6, 14, 10, 11)},
           Case{"2025-06-14", Date(2025, 6, 14)},
           Case{"0000:00:00 00:00:00", std::nullopt},
           Case{"    :  :     :  :  ", std::nullopt},
           Case{"2025:13:01 00:00:00", std::nullopt},
           Case{"2025-06:14", std::nullopt},
           Case{"", std::nullopt},
       }) {
    SCOPED_TRACE(c.Text);
    const std::optional<std::tm> read = ParseTakenDate(c.Text);
    ASSERT_EQ(read.has_value(), c.Date.has_value());
    if (!read) continue;
    EXPECT_EQ(
        std::tie(read->tm_year, read->tm_mon, read->tm_mday, read->tm_hour, read->tm_min, read->tm_sec),
        std::tie(c.Date->tm_year, c.Date->tm_mon, c.Date->tm_mday, c.Date->tm_hour, c.Date->tm_min, c.Date->tm_sec));
  }
}

}  // namespace
}  // namespace vt::test
