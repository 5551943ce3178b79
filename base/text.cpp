#include "base/text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "base/gbk_literals.h"
#include "base/internal_error.h"

namespace lumigrab {
namespace {

constexpr unsigned char kFullWidthSpaceByte = 0xA1;  // A1 A1 is the GBK ideographic space

bool IsLeadByte(unsigned char c) { return c >= 0x80; }

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

unsigned char FoldAscii(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}

const unsigned char* Bytes0(std::string_view s) {
  return reinterpret_cast<const unsigned char*>(s.data());
}

int Length(std::string_view s) {
  // Texts beyond 2 GB do not occur; clamp rather than wrap if one ever does.
  return s.size() > static_cast<size_t>(std::numeric_limits<int>::max())
             ? std::numeric_limits<int>::max()
             : static_cast<int>(s.size());
}

// Finds the first occurrence of `sought` at or after byte `from` (0-based),
// where `from` is where a character starts. Returns npos when none.
// Candidates are found by their first byte and compared directly, which is
// fastest on real pages; once hostile input makes the comparisons add up the
// search switches to Knuth-Morris-Pratt, so no input makes it quadratic.
class Finder {
 public:
  Finder(std::string_view sought, bool ignoreCase) : pattern_(sought) {
    // Folding changes nothing for a sought text without ASCII letters.
    folds_ = ignoreCase && std::any_of(sought.begin(), sought.end(), IsAsciiLetter);
    if (folds_) {
      for (char& c : pattern_) c = static_cast<char>(FoldAscii(static_cast<unsigned char>(c)));
    }
  }

  // Any occurrence at or after `from`, boundary or not.
  size_t FindRaw(std::string_view text, size_t from) {
    return folds_ ? FindCandidates<true>(text, from) : FindCandidates<false>(text, from);
  }

  // The first occurrence at or after `from` that a scan stepping over
  // double-byte characters from `from` would meet.
  size_t Find(std::string_view text, size_t from) {
    const unsigned char* t = Bytes0(text);
    size_t boundary = from;  // a position known to start a character
    for (size_t hit = FindRaw(text, from); hit != std::string_view::npos;) {
      // A position after a byte below 0x80 always starts a character (that
      // byte is a character or the end of one), and so does `boundary`: the
      // run of lead-range bytes between such a start and the hit is made of
      // whole pairs exactly when it is even.
      size_t run = 0;
      while (hit - run > boundary && IsLeadByte(t[hit - run - 1])) ++run;
      if (run % 2 == 0) return hit;
      // The hit is the second byte of a pair: the next character starts
      // right after it.
      boundary = hit + 1;
      hit = FindRaw(text, boundary);
    }
    return std::string_view::npos;
  }

 private:
  template <bool Fold>
  static unsigned char Norm(unsigned char c) {
    return Fold ? FoldAscii(c) : c;
  }

  template <bool Fold>
  size_t FindCandidates(std::string_view text, size_t from) {
    const size_t n = pattern_.size();
    if (from > text.size() || text.size() - from < n) return std::string_view::npos;
    const unsigned char* t = Bytes0(text);
    const unsigned char* f = Bytes0(pattern_);
    const size_t last = text.size() - n;  // the last possible start
    const bool scanFirstByte = !Fold || !IsAsciiLetter(static_cast<char>(f[0]));
    size_t budget = 2 * (text.size() - from) + 256;
    for (size_t i = from; i <= last; ++i) {
      if (scanFirstByte) {
        const void* next = std::memchr(t + i, f[0], last - i + 1);
        if (!next) break;
        i = static_cast<size_t>(static_cast<const unsigned char*>(next) - t);
      } else if (FoldAscii(t[i]) != f[0]) {
        continue;
      }
      size_t k = 1;
      while (k < n && Norm<Fold>(t[i + k]) == f[k]) ++k;
      if (k == n) return i;
      if (k > budget) return FindLinear<Fold>(text, i);
      budget -= k;
    }
    return std::string_view::npos;
  }

  template <bool Fold>
  size_t FindLinear(std::string_view text, size_t from) {
    const unsigned char* f = Bytes0(pattern_);
    const size_t n = pattern_.size();
    if (failure_.empty()) {
      failure_.assign(n + 1, 0);
      size_t k = 0;
      for (size_t i = 1; i < n; ++i) {
        while (k > 0 && f[i] != f[k]) k = failure_[k];
        if (f[i] == f[k]) ++k;
        failure_[i + 1] = k;
      }
    }
    const unsigned char* t = Bytes0(text);
    size_t k = 0;
    for (size_t i = from; i < text.size(); ++i) {
      const unsigned char c = Norm<Fold>(t[i]);
      while (k > 0 && c != f[k]) k = failure_[k];
      if (c == f[k]) ++k;
      if (k == n) return i + 1 - n;
    }
    return std::string_view::npos;
  }

  std::string pattern_;  // the sought text, ASCII-folded when folding
  bool folds_ = false;
  std::vector<size_t> failure_;  // built on first need
};

bool MatchesAt(std::string_view text, size_t pos, std::string_view sought,
               bool ignoreCase) {
  const unsigned char* t = Bytes0(text) + pos;
  const unsigned char* s = Bytes0(sought);
  if (!ignoreCase) return std::memcmp(t, s, sought.size()) == 0;
  for (size_t i = 0; i < sought.size(); ++i)
    if (FoldAscii(t[i]) != FoldAscii(s[i])) return false;
  return true;
}

template <typename Map>
Text MapAsciiLetters(std::string_view text, Map map) {
  Text out(text);
  for (size_t i = 0; i < out.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(out[i]);
    if (IsLeadByte(c)) {
      ++i;  // the second byte of a pair stays as it is
      continue;
    }
    out[i] = static_cast<char>(map(c));
  }
  return out;
}

bool IsFullWidthSpaceAt(std::string_view text, size_t i) {
  return i + 1 < text.size() &&
         static_cast<unsigned char>(text[i]) == kFullWidthSpaceByte &&
         static_cast<unsigned char>(text[i + 1]) == kFullWidthSpaceByte;
}

std::int32_t DoubleToInt32(double value) {
  // Out-of-range and NaN give the x86 "integer indefinite" value rather than
  // undefined behaviour.
  if (!(value > -2147483649.0 && value < 2147483648.0))
    return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

template <typename T>
Bytes LittleEndianBytes(T value) {
  Bytes out(sizeof(T));
  std::memcpy(out.data(), &value, sizeof(T));  // i686 and x86-64 are little-endian
  return out;
}

}  // namespace

const Text& TextArray::operator[](int index) const {
  if (index < 1) InternalError(kIndexBelowOne);
  if (index > Count()) InternalError(kIndexAboveCount);
  return items_[static_cast<size_t>(index - 1)];
}

Text& TextArray::operator[](int index) {
  return const_cast<Text&>(static_cast<const TextArray&>(*this)[index]);
}

int TextLength(std::string_view text) { return Length(text); }

int CompareTexts(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  const int c = n ? std::memcmp(a.data(), b.data(), n) : 0;
  if (c != 0) return c < 0 ? -1 : 1;
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

int FindText(std::string_view text, std::string_view sought,
             std::optional<int> start, bool ignoreCase) {
  const int L = Length(text), n = Length(sought);
  if (L == 0 || n == 0 || n > L) return -1;
  const int first = (!start || *start <= 0) ? 1 : *start;
  if (first > L - n + 1) return -1;
  const size_t hit = Finder(sought, ignoreCase).Find(text, first - 1);
  return hit == std::string_view::npos ? -1 : static_cast<int>(hit) + 1;
}

int FindTextReverse(std::string_view text, std::string_view sought,
                    std::optional<int> start, bool ignoreCase) {
  const int L = Length(text), n = Length(sought);
  if (L == 0 || n == 0 || n > L) return -1;
  long long candidate = L - n;
  if (start && *start > 0)
    candidate = std::clamp<long long>(static_cast<long long>(*start) - n, 0, L - n);
  const unsigned char* t = Bytes0(text);
  const unsigned char* s = Bytes0(sought);
  if (ignoreCase) {
    for (; candidate >= 0; --candidate)
      if (MatchesAt(text, static_cast<size_t>(candidate), sought, true))
        return static_cast<int>(candidate) + 1;
    return -1;
  }
  for (; candidate >= 0; --candidate) {
    if (t[candidate] == s[0] &&
        std::memcmp(t + candidate + 1, s + 1, sought.size() - 1) == 0)
      return static_cast<int>(candidate) + 1;
  }
  return -1;
}

Text ReplaceText(std::string_view text, std::string_view sought,
                 std::optional<std::string_view> replacement,
                 std::optional<int> start, std::optional<int> count,
                 bool caseSensitive) {
  const int L = Length(text), n = Length(sought);
  if (L == 0) return Text();
  if (n == 0 || n > L) return Text(text);
  const int first = start.value_or(1);
  int remaining = count.value_or(std::numeric_limits<int>::max());
  if (first <= 0 || first > L - n + 1 || remaining <= 0) return Text(text);
  const std::string_view with = replacement.value_or(std::string_view());

  Finder finder(sought, !caseSensitive);
  Text out;
  size_t copied = 0;  // bytes of `text` already in `out`
  size_t pos = static_cast<size_t>(first - 1);
  while (remaining > 0) {
    const size_t hit = finder.Find(text, pos);
    if (hit == std::string_view::npos) break;
    if (out.empty()) out.reserve(text.size());
    out.append(text.substr(copied, hit - copied));
    out.append(with);
    copied = pos = hit + sought.size();
    --remaining;
  }
  if (copied == 0) return Text(text);
  out.append(text.substr(copied));
  return out;
}

TextArray SplitText(std::string_view text,
                    std::optional<std::string_view> delimiter,
                    std::optional<int> maximumParts) {
  const std::string_view delim = delimiter.value_or(std::string_view(","));
  const long long maximum = maximumParts
                                ? std::max(0, *maximumParts)
                                : std::numeric_limits<long long>::max();
  std::vector<Text> parts;
  if (text.empty() || maximum == 0) return TextArray();
  if (delim.empty()) return TextArray{Text(text)};

  Finder finder(delim, false);
  size_t cut = 0;
  for (;;) {
    const size_t hit = finder.Find(text, cut);
    if (hit == std::string_view::npos) break;
    parts.emplace_back(text.substr(cut, hit - cut));
    cut = hit + delim.size();
    if (static_cast<long long>(parts.size()) == maximum)
      return TextArray(std::move(parts));
  }
  if (cut < text.size()) parts.emplace_back(text.substr(cut));
  return TextArray(std::move(parts));
}

Text LeftText(std::string_view text, int n) {
  if (text.empty() || n <= 0) return Text();
  return Text(text.substr(0, static_cast<size_t>(n)));
}

Text RightText(std::string_view text, int n) {
  if (text.empty() || n <= 0) return Text();
  if (static_cast<size_t>(n) >= text.size()) return Text(text);
  return Text(text.substr(text.size() - static_cast<size_t>(n)));
}

Text MidText(std::string_view text, int start, int n) {
  if (text.empty() || n < 1 || start <= 0 ||
      static_cast<size_t>(start) > text.size())
    return Text();
  return Text(text.substr(static_cast<size_t>(start - 1), static_cast<size_t>(n)));
}

Text TrimText(std::string_view text) {
  size_t begin = 0;
  while (begin < text.size()) {
    if (text[begin] == ' ') {
      ++begin;
    } else if (IsFullWidthSpaceAt(text, begin)) {
      begin += 2;
    } else {
      break;
    }
  }
  size_t end = text.size();
  while (end > begin) {
    if (text[end - 1] == ' ') {
      --end;
    } else if (end - begin >= 2 && IsFullWidthSpaceAt(text, end - 2)) {
      end -= 2;
    } else {
      break;
    }
  }
  return Text(text.substr(begin, end - begin));
}

Text RemoveSpaces(std::string_view text) {
  Text out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    if (text[i] == ' ') {
      ++i;
    } else if (IsFullWidthSpaceAt(text, i)) {
      i += 2;
    } else if (IsLeadByte(static_cast<unsigned char>(text[i]))) {
      out.append(text.substr(i, 2));
      i += 2;
    } else {
      out.push_back(text[i++]);
    }
  }
  return out;
}

Text ToLowerText(std::string_view text) {
  return MapAsciiLetters(text, [](unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
  });
}

Text ToUpperText(std::string_view text) {
  return MapAsciiLetters(text, [](unsigned char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c;
  });
}

Text ToText(std::int32_t value) { return std::to_string(value); }
Text ToText(std::int16_t value) { return std::to_string(value); }
Text ToText(std::uint8_t value) { return std::to_string(value); }
Text ToText(std::int64_t value) { return std::to_string(value); }
Text ToText(bool value) { return value ? gbk::kTrue : gbk::kFalse; }
Text ToText(std::string_view value) { return Text(value); }
Text ToText(const char* value) { return value ? Text(value) : Text(); }

Text ToText(double value) {
  const int size = std::snprintf(nullptr, 0, "%.6f", value);
  if (size <= 0) return Text();
  Text out(static_cast<size_t>(size) + 1, '\0');
  std::snprintf(out.data(), out.size(), "%.6f", value);
  out.resize(static_cast<size_t>(size));
  const size_t point = out.find('.');
  if (point != Text::npos) {
    const size_t last = out.find_last_not_of('0');
    out.resize(last == point ? point : last + 1);
  }
  return out;
}

Text ToText(const Bytes& value) {
  const auto zero = std::find(value.begin(), value.end(), std::uint8_t{0});
  return Text(value.begin(), zero);
}

std::int32_t ToInteger(std::string_view text) {
  // Half-width forms first: GBK's full-width ASCII row (A3 A1 .. A3 FE) maps
  // byte-wise onto 0x21 .. 0x7E and the ideographic space onto a space, as
  // the system's half-width mapping does for the Chinese locale.
  Text half;
  half.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (!IsLeadByte(c) || i + 1 >= text.size()) {
      half.push_back(static_cast<char>(c));
      ++i;
      continue;
    }
    const unsigned char t = static_cast<unsigned char>(text[i + 1]);
    if (c == 0xA3 && t >= 0xA1 && t <= 0xFE) {
      half.push_back(static_cast<char>(t - 0x80));
    } else if (c == kFullWidthSpaceByte && t == kFullWidthSpaceByte) {
      half.push_back(' ');
    } else {
      half.append(text.substr(i, 2));
    }
    i += 2;
  }

  size_t i = 0;
  while (i < half.size() && (half[i] == ' ' || (half[i] >= '\t' && half[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < half.size() && (half[i] == '+' || half[i] == '-')) negative = half[i++] == '-';
  std::uint32_t value = 0;  // wraps modulo 2^32 by design
  for (; i < half.size() && half[i] >= '0' && half[i] <= '9'; ++i)
    value = value * 10u + static_cast<std::uint32_t>(half[i] - '0');
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

std::int32_t ToInteger(const char* text) {
  return ToInteger(std::string_view(text ? text : ""));
}
std::int32_t ToInteger(double value) { return DoubleToInt32(value); }
std::int32_t ToInteger(std::int64_t value) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}
std::int32_t ToInteger(std::int32_t value) { return value; }
std::int32_t ToInteger(std::uint8_t value) { return value; }

Text CharText(int code) {
  const char c = static_cast<char>(code & 0xFF);
  return c == 0 ? Text() : Text(1, c);
}

Text SpaceText(int n) { return n < 1 ? Text() : Text(static_cast<size_t>(n), ' '); }

Text HexText(std::int32_t value) {
  char buffer[9];
  std::snprintf(buffer, sizeof buffer, "%X", static_cast<unsigned>(static_cast<std::uint32_t>(value)));
  return buffer;
}

Bytes TextToBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }
Bytes TextToBytes(const char* text) { return TextToBytes(std::string_view(text ? text : "")); }
Bytes TextToBytes(std::int32_t value) { return LittleEndianBytes(value); }
Bytes TextToBytes(std::int16_t value) { return LittleEndianBytes(value); }
Bytes TextToBytes(std::uint8_t value) { return Bytes{value}; }
Bytes TextToBytes(double value) { return LittleEndianBytes(value); }

Text BytesToText(const Bytes& bytes) { return ToText(bytes); }
int BytesLength(const Bytes& bytes) { return static_cast<int>(bytes.size()); }

std::int32_t ShiftRight(std::int32_t value, int count) {
  return value >> (static_cast<unsigned>(count) & 31u);  // arithmetic in C++20
}

double Power(double base, std::initializer_list<double> exponents) {
  for (double e : exponents) base = std::pow(base, e);
  return base;
}

std::uint8_t ToByte(std::string_view text) {
  return static_cast<std::uint8_t>(ToInteger(text) & 0xFF);
}
std::uint8_t ToByte(const char* text) { return ToByte(std::string_view(text ? text : "")); }
std::uint8_t ToByte(std::int32_t value) { return static_cast<std::uint8_t>(value & 0xFF); }
std::uint8_t ToByte(double value) {
  // Truncated toward zero, then the low 8 bits of the 64-bit value.
  if (!(std::fabs(value) < 9.2e18)) return static_cast<std::uint8_t>(DoubleToInt32(value) & 0xFF);
  return static_cast<std::uint8_t>(static_cast<std::int64_t>(value) & 0xFF);
}

}  // namespace lumigrab
