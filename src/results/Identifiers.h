#pragma once
// Names and identifiers of a result stream, compared without regard to ASCII case.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace vt {

bool SameText(std::string_view a, std::string_view b);

// Values a layout setting may take in a stream. The table always stays a
// read-only report filling its page; the writer writes the first of each.
std::span<const std::string_view> AlignValues();      // "alClient", ...
std::span<const std::string_view> ViewStyleValues();  // "vsReport", ...

struct TNamedValue {
  std::string_view Name;
  std::uint32_t Value;
};
std::span<const TNamedValue> FontStyleNames();  // "fsBold" -> FontStyle::Bold, ...
std::span<const TNamedValue> ColorNames();      // "clBlack", "clGray"

bool IsOneOf(std::string_view identifier, std::span<const std::string_view> values);
std::optional<std::uint32_t> FindNamed(std::string_view identifier, std::span<const TNamedValue> names);
// The name of a value, if it has one.
std::optional<std::string_view> NameOf(std::uint32_t value, std::span<const TNamedValue> names);

}  // namespace vt
