#include "platform/ShortName.h"

#include <array>

#include "platform/Utf8Char.h"

namespace vt {
namespace {

// Characters a short name may hold, besides the upper-case letters and digits.
constexpr std::string_view kShortNameSymbols = "!#$%&'()-@^_`{}~";

// Codes 1..52 for the 52 characters of a short name, 0 for anything else; 53
// values over 11 positions fit into 64 bits (53^11 < 2^64).
constexpr std::array<std::uint8_t, 256> MakeCodes() {
  std::array<std::uint8_t, 256> codes{};
  std::uint8_t next = 1;
  for (char c = 'A'; c <= 'Z'; ++c) codes[static_cast<unsigned char>(c)] = next++;
  for (char c = '0'; c <= '9'; ++c) codes[static_cast<unsigned char>(c)] = next++;
  for (const char c : kShortNameSymbols) codes[static_cast<unsigned char>(c)] = next++;
  return codes;
}
constexpr std::array<std::uint8_t, 256> kCodes = MakeCodes();
constexpr std::uint64_t kBase = 53;

bool IsShortNameChar(char c) { return kCodes[static_cast<unsigned char>(AsciiUpperChar(c))] != 0; }

// Basis in positions 0..7, extension in 8..10; a missing character is 0.
std::uint64_t Pack(std::string_view basis, std::string_view ext) {
  std::uint64_t key = 0;
  for (std::size_t i = 0; i < 8; ++i)
    key = key * kBase + (i < basis.size() ? kCodes[static_cast<unsigned char>(basis[i])] : 0);
  for (std::size_t i = 0; i < 3; ++i)
    key = key * kBase + (i < ext.size() ? kCodes[static_cast<unsigned char>(ext[i])] : 0);
  return key;
}

// A few characters in a fixed buffer.
struct TPart {
  char Text[6];
  std::size_t Size = 0;
  std::string_view View() const { return {Text, Size}; }
};

// Upper-cased; blanks dropped; every character outside the short-name set
// (multi-byte UTF-8 sequences and stray bytes count as one) becomes "_".
// Keeps at most `limit` characters.
void MapPart(std::string_view part, TPart& out, std::size_t limit, bool dropDots) {
  for (std::size_t i = 0; i < part.size() && out.Size < limit;) {
    const std::size_t len = Utf8CharBytes(part, i);
    const char c = part[i];
    i += len;
    if (c == ' ' || (dropDots && c == '.')) continue;
    out.Text[out.Size++] = len == 1 && IsShortNameChar(c) ? AsciiUpperChar(c) : '_';
  }
}

struct TBasisExt {
  TPart Basis;  // up to 6 characters
  TPart Ext;    // up to 3 characters
};

// Leading dots and blanks are skipped (".profile" has no extension), the last
// remaining dot starts the extension, and the other dots are dropped.
TBasisExt SplitForShortName(std::string_view name) {
  std::size_t start = 0;
  while (start < name.size() && (name[start] == '.' || name[start] == ' ')) ++start;
  const std::string_view rest = name.substr(start);
  const std::size_t dot = rest.rfind('.');
  TBasisExt parts;
  MapPart(rest.substr(0, dot), parts.Basis, 6, true);
  if (dot != std::string_view::npos) MapPart(rest.substr(dot + 1), parts.Ext, 3, false);
  if (parts.Basis.Size == 0) parts.Basis.Text[parts.Basis.Size++] = '_';
  return parts;
}

std::uint16_t Hash16(std::string_view name) {
  std::uint32_t h = 2166136261u;  // FNV-1a
  for (const char c : name) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
  return static_cast<std::uint16_t>(h ^ (h >> 16));
}

TShortName Compose(std::string_view basis, std::string_view ext) {
  TShortName result;
  auto put = [&](std::string_view s) {
    for (const char c : s) result.Text[result.Size++] = c;
  };
  put(basis);
  if (!ext.empty()) {
    put(".");
    put(ext);
  }
  return result;
}

}  // namespace

bool HasShortForm(std::string_view name) {
  const std::size_t dot = name.find('.');
  const std::string_view basis = name.substr(0, dot);
  const std::string_view ext = dot == std::string_view::npos ? std::string_view{} : name.substr(dot + 1);
  if (basis.empty() || basis.size() > 8 || ext.size() > 3) return false;
  if (dot != std::string_view::npos && ext.empty()) return false;
  for (const char c : basis)
    if (!IsShortNameChar(c)) return false;
  for (const char c : ext)
    if (!IsShortNameChar(c)) return false;
  return true;
}

void TShortNameTable::Reserve(std::size_t names) {
  std::size_t capacity = 16;
  while (capacity < names * 2) capacity *= 2;
  if (capacity <= Slots_.size()) return;
  std::vector<std::uint64_t> old;
  old.swap(Slots_);
  Slots_.assign(capacity, 0);
  Used_ = 0;
  for (const std::uint64_t key : old)
    if (key != 0) Take(key);
}

void TShortNameTable::Grow() { Reserve(Slots_.size()); }

std::size_t TShortNameTable::Home(std::uint64_t key) const {
  std::uint64_t mixed = (key ^ (key >> 30)) * 0xBF58476D1CE4E5B9ull;  // splitmix64's finalizer
  mixed = (mixed ^ (mixed >> 27)) * 0x94D049BB133111EBull;
  mixed ^= mixed >> 31;
  return mixed & (Slots_.size() - 1);
}

std::uint64_t& TShortNameTable::FullBase(std::uint64_t baseKey) {
  return FullBases_[(baseKey ^ (baseKey >> 17) ^ (baseKey >> 37)) & 63];
}

bool TShortNameTable::Take(std::uint64_t key) {
  if ((Used_ + 1) * 2 > Slots_.size()) Grow();
  const std::size_t mask = Slots_.size() - 1;
  for (std::size_t i = Home(key);; i = (i + 1) & mask) {
    if (Slots_[i] == key) return false;
    if (Slots_[i] == 0) {
      Slots_[i] = key;
      ++Used_;
      return true;
    }
  }
}

void TShortNameTable::Occupy(std::string_view name) {
  const std::size_t dot = name.find('.');
  std::string upper(name);
  for (char& c : upper) c = AsciiUpperChar(c);
  const std::string_view view(upper);
  Take(Pack(view.substr(0, dot), dot == std::string_view::npos ? std::string_view{} : view.substr(dot + 1)));
}

// The candidate names, as basis and extension: ~1 to ~4 on the six-character
// basis, then two characters, four hex digits and ~1 to ~9.
struct TCandidate {
  char Text[8];
  std::size_t Size = 0;
  std::string_view Basis() const { return {Text, Size}; }
};

TCandidate TildeCandidate(std::string_view basis6, char n) {
  TCandidate c;
  for (const char ch : basis6) c.Text[c.Size++] = ch;
  c.Text[c.Size++] = '~';
  c.Text[c.Size++] = n;
  return c;
}

TCandidate HashedCandidate(std::string_view basis6, std::uint16_t h, char n) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  TCandidate c;
  for (const char ch : basis6.substr(0, 2)) c.Text[c.Size++] = ch;
  for (int shift = 12; shift >= 0; shift -= 4) c.Text[c.Size++] = kHex[(h >> shift) & 0xF];
  c.Text[c.Size++] = '~';
  c.Text[c.Size++] = n;
  return c;
}

TShortName TShortNameTable::Assign(std::string_view longName) {
  const TBasisExt parts = SplitForShortName(longName);
  const std::string_view basis6 = parts.Basis.View();
  const std::string_view ext = parts.Ext.View();
  const std::uint64_t baseKey = Pack(basis6, ext);
  std::uint64_t& fullBase = FullBase(baseKey);
  if (fullBase != baseKey) {
    for (char n = '1'; n <= '4'; ++n) {
      const TCandidate c = TildeCandidate(basis6, n);
      if (Take(Pack(c.Basis(), ext))) return Compose(c.Basis(), ext);
    }
    fullBase = baseKey;
  }
  // The hashed names are tried step by step from the long name's hash, as
  // ~1 to ~9 of each step. A step whose nine are all taken stays so, and is
  // skipped from then on: a folder where one group fills up would otherwise
  // walk ever longer runs of full steps, and once the group is full, all of
  // them for every further name.
  TFullSteps& full = FullSteps_[Pack(basis6.substr(0, 2), ext)];
  std::uint16_t step = Hash16(longName);
  while (full.Links.size() < 0x10000) {
    step = full.FirstOpen(step);
    for (char n = '1'; n <= '9'; ++n) {
      const TCandidate c = HashedCandidate(basis6, step, n);
      if (Take(Pack(c.Basis(), ext))) return Compose(c.Basis(), ext);
    }
    full.Links[step] = static_cast<std::uint16_t>(step + 1);
  }
  return {};
}

std::uint16_t TShortNameTable::TFullSteps::FirstOpen(std::uint16_t step) {
  std::uint16_t open = step;
  for (auto it = Links.find(open); it != Links.end(); it = Links.find(open)) open = it->second;
  // Every full step on the way now leads straight to the open one.
  while (step != open) {
    std::uint16_t& link = Links[step];
    step = link;
    link = open;
  }
  return open;
}

}  // namespace vt
