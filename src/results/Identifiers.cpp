#include "results/Identifiers.h"

#include <algorithm>
#include <array>

#include "results/ResultLayout.h"

namespace vt {
namespace {

constexpr char Fold(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

constexpr std::array<std::string_view, 7> kAlign{"alClient", "alNone",  "alTop",   "alBottom",
                                                 "alLeft",   "alRight", "alCustom"};
constexpr std::array<std::string_view, 4> kViewStyle{"vsReport", "vsIcon", "vsSmallIcon", "vsList"};
constexpr std::array kFontStyles{TNamedValue{"fsBold", FontStyle::Bold}, TNamedValue{"fsItalic", FontStyle::Italic},
                                 TNamedValue{"fsUnderline", FontStyle::Underline},
                                 TNamedValue{"fsStrikeOut", FontStyle::StrikeOut}};
constexpr std::array kColors{TNamedValue{"clBlack", TextColor::Black}, TNamedValue{"clGray", TextColor::Gray}};

}  // namespace

bool SameText(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) { return Fold(x) == Fold(y); });
}

std::span<const std::string_view> AlignValues() { return kAlign; }
std::span<const std::string_view> ViewStyleValues() { return kViewStyle; }
std::span<const TNamedValue> FontStyleNames() { return kFontStyles; }
std::span<const TNamedValue> ColorNames() { return kColors; }

bool IsOneOf(std::string_view identifier, std::span<const std::string_view> values) {
  return std::any_of(values.begin(), values.end(), [&](std::string_view value) { return SameText(identifier, value); });
}

std::optional<std::uint32_t> FindNamed(std::string_view identifier, std::span<const TNamedValue> names) {
  for (const TNamedValue& named : names)
    if (SameText(identifier, named.Name)) return named.Value;
  return std::nullopt;
}

std::optional<std::string_view> NameOf(std::uint32_t value, std::span<const TNamedValue> names) {
  for (const TNamedValue& named : names)
    if (named.Value == value) return named.Name;
  return std::nullopt;
}

}  // namespace vt
