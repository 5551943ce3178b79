// Feeds random and mutated product pages through the page parser and the
// address lists and checks what must hold for any input whatsoever:
//   - no main image address is empty or holds CR LF;
//   - no description image address holds CR LF;
//   - the folder name, read character by character (a byte of 0x80 or more
//     takes the next byte with it), holds none of | > < " * ? \ / : as a
//     single-byte character.
// Neither call may throw. Run it under the address and undefined-behaviour
// sanitizers; a crash or a sanitizer report is a finding as well.
//
//   fuzz_parser [--count N] [--seed S] [--input I] [--quiet]
//
// Every input is made from the seed and its own index alone, so a reported
// violation replays with --seed S --input I.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "export/image_addresses.h"
#include "export/product_page.h"
#include "tests/support/page_fixture.h"

namespace {

using lumigrab::BuildImageAddressLists;
using lumigrab::ImageAddressLists;
using lumigrab::ParseProductPage;
using lumigrab::ProductPage;
using lumigrab::testing::MakeProductPage;
using lumigrab::testing::PageShape;

// Inputs stay below this, so that a million of them under the sanitizers
// take minutes rather than hours.
constexpr std::size_t kMaxInput = 64 * 1024;

constexpr char kDescriptionLeft[] =
    "<textarea class=\"ks-datalazyload invisible\" id=\"J_DivItemDesc2\">";
constexpr char kStripLeft[] =
    "<ul id=\"J_UlThumb\" class=\"tb-thumb tb-clearfix\">";
constexpr char kEntryBlock[] = "<div class=\"tb-pic tb-s50\">";
constexpr char kItemBlock[] = "<div class=\"item-mb\">";

// The marks the parser and the address lists look for, and their near
// relatives.
const char* const kMarkers[] = {
    kDescriptionLeft,
    "</textarea>",
    kStripLeft,
    "</ul>",
    kEntryBlock,
    "</div>",
    "<li class=\"tb-selected\">",
    kItemBlock,
    "<span>",
    "</span>",
    "<title>",
    "</title>",
    "-\xD0\xE3\xD2\xC2\xB7\xBB",  // -秀衣坊
    "#\xD2\xFD\xBA\xC5",          // #引号
    "src=",
    "&lt;",
    "&gt;",
    "&quot;",
    "&amp;",
    "><",
    "> <",
    "<img src=\"",
    "</a>",
    "<li>",
    "</li>",
    "<li >",
    "<a href=\"",
    "\" target=\"blank\">",
    "<ahref=\"",
    "\"target=\"blank\">",
    "\r\n",
    "\r",
    "\n",
    "jpg",
    "png",
    "jpeg",
    "gif",
    "bmp",
    "https:",
    "https://",
    "|",
    ">",
    "<",
    "\"",
    "*",
    "?",
    "\\",
    "/",
    ":",
    " ",
};
constexpr std::size_t kMarkerCount = sizeof(kMarkers) / sizeof(kMarkers[0]);

// Bytes that matter to the text rules: lead bytes, the full-width space,
// line ends, markup and the characters the folder name drops.
const unsigned char kInterestingBytes[] = {
    0x00, 0x0A, 0x0D, ' ',  '<',  '>',  '&',  ';',  '"',  '/',
    '\\', '|',  ':',  '*',  '?',  '=',  0x7F, 0x80, 0x81, 0xA1,
    0xA3, 0xB0, 0xD2, 0xFE, 0xFF, 0x40, 0x5C, 0x7C,
};

struct Options {
  std::uint64_t count = 20000;
  std::uint64_t seed = 0;
  bool seedGiven = false;
  std::optional<std::uint64_t> onlyInput;
  bool quiet = false;
};

std::vector<std::string> Fixtures() {
  const PageShape shapes[] = {
      {3, 2, 512, false, true},         {8, 4, 2 * 1024, true, false},
      {20, 6, 6 * 1024, false, false},  {40, 10, 12 * 1024, true, true},
      {1, 1, 0, false, false},          {0, 0, 1024, true, true},
      {80, 16, 16 * 1024, false, true},
  };
  std::vector<std::string> pages;
  for (const PageShape& shape : shapes) pages.push_back(MakeProductPage(shape));
  return pages;
}

std::string Repeat(std::string_view piece, int times) {
  std::string out;
  out.reserve(piece.size() * static_cast<std::size_t>(times));
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

// Fixed hostile inputs, run first whatever the seed.
std::vector<std::string> HostileInputs(const std::vector<std::string>& pages) {
  std::string allMarkers;
  for (const char* marker : kMarkers) allMarkers += marker;
  std::string crlfPage = pages[2];
  for (std::size_t at = crlfPage.find('\n'); at != std::string::npos;
       at = crlfPage.find('\n', at + 4)) {
    crlfPage.replace(at, 1, "\r\n\r\n");
  }
  return {
      "",
      allMarkers,
      Repeat(allMarkers, 40),
      std::string(kDescriptionLeft) + Repeat("\r\n", 5000) + "</textarea>",
      std::string(kDescriptionLeft) + Repeat("&gt;&lt;", 5000) + "</textarea>",
      std::string(kDescriptionLeft) + "src=" + Repeat("\r\n", 3000) +
          "src=x.jpg" + Repeat("&gt; &lt;", 1500) + "</textarea>",
      std::string(kDescriptionLeft) + Repeat("src=", 3000) + "</textarea>",
      "\xFF",
      std::string(kDescriptionLeft) + "\x81",
      std::string(kDescriptionLeft) + "src=\x81</textarea>",
      std::string(kStripLeft) + "\x81</ul>",
      std::string(kStripLeft) + Repeat(kEntryBlock, 2000) + "</ul>",
      std::string(kStripLeft) + Repeat("<li><img src=\"x\" />\r\n", 500) +
          "</ul>",
      std::string(kStripLeft) + Repeat("\x81\r\n", 500) + "</ul>",
      std::string(kItemBlock) + "<span>\x81</span>",
      std::string(kItemBlock) + "<span>|>\"<*?\\/:</span>",
      "<title>|>\"<*?\\/:</title>",
      "<title>\x81|\x81\\:a\xFE/</title>",
      "<title>" + Repeat("\xA1\xA1", 3000) + "</title>",
      Repeat("\xA1", 4001),
      Repeat(std::string_view("\0\r\n", 3), 2000),
      crlfPage,
  };
}

class InputMaker {
 public:
  InputMaker(std::uint64_t seed, std::uint64_t index,
             const std::vector<std::string>& pages)
      : pages_(pages) {
    std::seed_seq seq{static_cast<std::uint32_t>(seed),
                      static_cast<std::uint32_t>(seed >> 32),
                      static_cast<std::uint32_t>(index),
                      static_cast<std::uint32_t>(index >> 32)};
    rng_.seed(seq);
  }

  std::string Make() {
    std::string s;
    if (Below(25) == 0) {
      s = RandomBuffer();
    } else {
      s = pages_[Below(pages_.size())];
    }
    const std::size_t mutations = 1 + Below(6);
    for (std::size_t m = 0; m < mutations; ++m) Mutate(s);
    if (s.size() > kMaxInput) s.resize(kMaxInput);
    return s;
  }

 private:
  // Uniform in 0..n-1; 0 when n is 0.
  std::size_t Below(std::size_t n) {
    if (n == 0) return 0;
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_);
  }

  char Interesting() {
    if (Below(4) == 0) return static_cast<char>(Below(256));
    return static_cast<char>(
        kInterestingBytes[Below(sizeof kInterestingBytes)]);
  }

  char LeadByte() { return static_cast<char>(0x81 + Below(0xFE - 0x81 + 1)); }

  // A position in s, often at or next to an occurrence of a marker, since
  // that is where the parser's decisions are made.
  std::size_t Position(const std::string& s) {
    if (s.empty() || Below(2) == 0) return Below(s.size() + 1);
    const char* marker = kMarkers[Below(kMarkerCount)];
    std::size_t at = s.find(marker, Below(s.size()));
    if (at == std::string::npos) at = s.find(marker);
    if (at == std::string::npos) return Below(s.size() + 1);
    const std::size_t length = std::string_view(marker).size();
    switch (Below(4)) {
      case 0:
        return at;
      case 1:
        return at + length;
      case 2:
        return at + Below(length + 1);
      default:
        return at > 0 ? at - 1 : 0;
    }
  }

  std::string RandomBuffer() {
    const std::size_t target = Below(16 * 1024);
    std::string s;
    while (s.size() < target) {
      switch (Below(3)) {
        case 0:
          s += kMarkers[Below(kMarkerCount)];
          break;
        case 1:
          s += Interesting();
          break;
        default:
          s += static_cast<char>(Below(256));
          break;
      }
    }
    return s;
  }

  void Mutate(std::string& s) {
    switch (Below(11)) {
      case 0: {  // flip bits
        if (s.empty()) break;
        for (std::size_t k = 1 + Below(16); k > 0; --k) {
          s[Below(s.size())] ^= static_cast<char>(1u << Below(8));
        }
        break;
      }
      case 1: {  // overwrite bytes
        if (s.empty()) break;
        for (std::size_t k = 1 + Below(16); k > 0; --k) {
          s[Below(s.size())] = Interesting();
        }
        break;
      }
      case 2:  // truncate
        s.resize(Position(s));
        break;
      case 3: {  // cut a range out
        const std::size_t from = Below(s.size() + 1);
        s.erase(from, Below(Below(2) ? 64 : 16384));
        break;
      }
      case 4: {  // splice in a slice of another page
        const std::string& other = pages_[Below(pages_.size())];
        const std::size_t from = Below(other.size() + 1);
        const std::string slice = other.substr(from, Below(4096));
        const std::size_t at = Position(s);
        if (Below(2) == 0) {
          s.insert(at, slice);
        } else {
          s.replace(at, slice.size(), slice);
        }
        break;
      }
      case 5: {  // repeat a marker, scattered or in one run
        const std::string_view marker = kMarkers[Below(kMarkerCount)];
        const std::size_t times = 1 + Below(Below(3) == 0 ? 400 : 8);
        if (Below(2) == 0) {
          s.insert(Position(s), Repeat(marker, static_cast<int>(times)));
        } else {
          for (std::size_t k = 0; k < times; ++k) {
            s.insert(Position(s), marker);
          }
        }
        break;
      }
      case 6: {  // a long run of line ends or of decoded tag joints
        static const char* const kRuns[] = {"\r\n",      "\r\n\r\n", "&gt;&lt;",
                                            "&gt; &lt;", "\n",       "\r"};
        const int times = 100 + static_cast<int>(Below(1100));
        s.insert(Position(s), Repeat(kRuns[Below(6)], times));
        break;
      }
      case 7: {  // lone lead bytes, before marks and at the end
        for (std::size_t k = Below(6); k > 0; --k) {
          s.insert(Position(s), 1, LeadByte());
        }
        if (Below(2) == 0) s += LeadByte();
        break;
      }
      case 8: {  // a run of odd bytes: zero bytes, full-width spaces
        std::string run;
        for (std::size_t k = 1 + Below(64); k > 0; --k) {
          if (Below(5) == 0) {
            run += "\xA1\xA1";
          } else {
            run += Interesting();
          }
        }
        s.insert(Position(s), run);
        break;
      }
      case 9: {  // copy a range of the input elsewhere
        const std::size_t from = Below(s.size() + 1);
        const std::string range = s.substr(from, Below(4096));
        s.insert(Position(s), range);
        break;
      }
      default: {  // change the case of a range of letters
        const std::size_t from = Below(s.size() + 1);
        const std::size_t to = std::min(s.size(), from + Below(512));
        for (std::size_t k = from; k < to; ++k) {
          const char c = s[k];
          if (c >= 'a' && c <= 'z')
            s[k] = static_cast<char>(c - 32);
          else if (c >= 'A' && c <= 'Z')
            s[k] = static_cast<char>(c + 32);
        }
        break;
      }
    }
  }

  const std::vector<std::string>& pages_;
  std::mt19937 rng_;
};

// The first bytes of a text, printable, for a report.
std::string Shown(std::string_view text) {
  std::string out;
  const std::size_t shown = text.size() < 160 ? text.size() : 160;
  for (std::size_t i = 0; i < shown; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  if (shown < text.size()) out += "...";
  return "\"" + out + "\" (" + std::to_string(text.size()) + " bytes)";
}

std::optional<std::string> Violation(const ProductPage& page,
                                     const ImageAddressLists& lists) {
  int index = 0;
  for (const lumigrab::Text& address : lists.mainImages) {
    ++index;
    if (address.empty()) {
      return "main image " + std::to_string(index) + " is empty";
    }
    if (address.find("\r\n") != std::string::npos) {
      return "main image " + std::to_string(index) +
             " holds CR LF: " + Shown(address);
    }
  }
  index = 0;
  for (const lumigrab::Text& address : lists.descriptionImages) {
    ++index;
    if (address.find("\r\n") != std::string::npos) {
      return "description image " + std::to_string(index) +
             " holds CR LF: " + Shown(address);
    }
  }
  const lumigrab::Text& folder = page.folderName;
  for (std::size_t i = 0; i < folder.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(folder[i]);
    if (c >= 0x80) {
      ++i;  // the second byte of a double-byte character
      continue;
    }
    if (std::string_view("|><\"*?\\/:").find(static_cast<char>(c)) !=
        std::string_view::npos) {
      return "folder name holds '" + std::string(1, static_cast<char>(c)) +
             "' at byte " + std::to_string(i + 1) + ": " + Shown(folder);
    }
  }
  return std::nullopt;
}

bool ParseCount(const char* text, std::uint64_t& value) {
  char* end = nullptr;
  const unsigned long long parsed = std::strtoull(text, &end, 10);
  if (end == text || *end != '\0') return false;
  value = parsed;
  return true;
}

int Usage() {
  std::fprintf(stderr,
               "usage: fuzz_parser [--count N] [--seed S] [--input I] "
               "[--quiet]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--quiet") {
      options.quiet = true;
    } else if (arg == "--count" && hasValue) {
      if (!ParseCount(argv[++i], options.count)) return Usage();
    } else if (arg == "--seed" && hasValue) {
      if (!ParseCount(argv[++i], options.seed)) return Usage();
      options.seedGiven = true;
    } else if (arg == "--input" && hasValue) {
      std::uint64_t only = 0;
      if (!ParseCount(argv[++i], only)) return Usage();
      options.onlyInput = only;
    } else {
      return Usage();
    }
  }
  if (!options.seedGiven) {
    std::random_device device;
    options.seed =
        (static_cast<std::uint64_t>(device()) << 32) ^ device() ^
        static_cast<std::uint64_t>(
            std::chrono::steady_clock::now().time_since_epoch().count());
  }

  const std::vector<std::string> pages = Fixtures();
  const std::vector<std::string> hostile = HostileInputs(pages);

  std::uint64_t first = 0;
  std::uint64_t last = options.count;  // one past
  if (options.onlyInput) {
    first = *options.onlyInput;
    last = first + 1;
  }

  const auto started = std::chrono::steady_clock::now();
  std::uint64_t done = 0;
  for (std::uint64_t index = first; index < last; ++index) {
    const std::string input =
        index < hostile.size() ? hostile[static_cast<std::size_t>(index)]
                               : InputMaker(options.seed, index, pages).Make();
    std::optional<std::string> violation;
    try {
      const ProductPage page = ParseProductPage(input);
      const ImageAddressLists lists = BuildImageAddressLists(page);
      violation = Violation(page, lists);
    } catch (const std::exception& e) {
      violation = std::string("exception: ") + e.what();
    } catch (...) {
      violation = "unknown exception";
    }
    if (violation) {
      std::printf("fuzz_parser: VIOLATION at seed %llu, input %llu: %s\n",
                  static_cast<unsigned long long>(options.seed),
                  static_cast<unsigned long long>(index), violation->c_str());
      std::printf("fuzz_parser: input %s\n", Shown(input).c_str());
      std::printf("fuzz_parser: replay with --seed %llu --input %llu\n",
                  static_cast<unsigned long long>(options.seed),
                  static_cast<unsigned long long>(index));
      return 1;
    }
    ++done;
    if (!options.quiet && options.count >= 10 &&
        done % (options.count / 10) == 0 && !options.onlyInput) {
      std::fprintf(stderr, "fuzz_parser: %llu/%llu\n",
                   static_cast<unsigned long long>(done),
                   static_cast<unsigned long long>(options.count));
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started)
          .count();
  std::printf("fuzz_parser: %llu inputs, %.1f seconds, seed %llu\n",
              static_cast<unsigned long long>(done), seconds,
              static_cast<unsigned long long>(options.seed));
  return 0;
}
