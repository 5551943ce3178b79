#include "export/naming.h"

#include "base/clock.h"
#include "base/gbk_literals.h"

namespace lumigrab {
namespace {

// RightText ("0" + value, 2): two digits with a leading zero.
Text TwoDigits(int value) { return RightText(JoinTexts("0", ToText(value)), 2); }

}  // namespace

Text FormatTimeStamp(std::string_view pattern, DateTime value) {
  Text t(pattern.empty() ? std::string_view("yyyyMMddhhmmss") : pattern);
  const Text year = ToText(YearOf(value));
  const Text month = TwoDigits(MonthOf(value));
  const Text day = TwoDigits(DayOf(value));
  const Text hour = TwoDigits(HourOf(value));
  const Text minute = TwoDigits(MinuteOf(value));
  const Text second = TwoDigits(SecondOf(value));
  // Strictly in this order: a longer token before its shorter form.
  const struct {
    const char* token;
    Text value;
  } steps[] = {
      {"yyyy", year},
      {"yyy", RightText(year, 3)},
      {"yy", RightText(year, 2)},
      {"y", RightText(year, 1)},
      {"MM", month},
      {"M", RightText(month, 1)},
      {"dd", day},
      {"d", RightText(day, 1)},
      {"hh", hour},
      {"h", RightText(hour, 1)},
      {"mm", minute},
      {"ss", second},
      {"s", RightText(second, 1)},
  };
  for (const auto& step : steps) 
    t = ReplaceText(t, step.token, step.value, kOmitted, kOmitted, true);
  return t;
}

Text TimeStamp(std::string_view pattern) { return FormatTimeStamp(pattern, Now()); }

Text UrlExtension(std::string_view address) {
  std::size_t dot = std::string_view::npos;
  for (std::size_t i = 0; i < address.size(); ++i) {
    const char c = address[i];
    if (c == '.') {
      dot = i;
    } else if (c == '\\' || c == ' ') {
      dot = std::string_view::npos;
    } else if (static_cast<unsigned char>(c) >= 0x81 && i + 1 < address.size()) {
      // The trail byte of a double-byte character is never a dot,
      // backslash or space of its own.
      ++i;
    }
  }
  if (dot == std::string_view::npos) return {};
  return Text(address.substr(dot));
}

Text SafeFolderName(std::string_view folderName) {
  for (const char c : folderName) {
    if (c != '.' && c != ' ') return Text(folderName);
  }
  return {};
}

bool StaysInFolder(std::string_view namePart) {
  for (std::size_t i = 0; i < namePart.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(namePart[i]);
    if (c == '/' || c == '\\' || c == ':') return false;
    // A GBK trail byte may be 0x5C without being a separator.
    if (c >= 0x81 && i + 1 < namePart.size()) ++i;
  }
  return true;
}

Text ExportFolderPath(std::string_view exeDir, std::string_view folderName) {
  return JoinTexts(exeDir, "\\Output\\", SafeFolderName(folderName));
}

Text ImageFilePath(std::string_view folder, std::string_view prefix, int index,
                   std::string_view stamp, std::string_view extension) {
  return JoinTexts(folder, "\\", prefix, ToText(index), "_", stamp, extension);
}

Text RecordFilePath(std::string_view folder, std::string_view stamp) {
  return JoinTexts(folder, "\\", stamp, ".ac.txt");
}

Text TempPageFilePath(std::string_view tempFolder, int r) {
  return JoinTexts(tempFolder, "lmg", ToText(r), ".html");
}

Text PackingFolderPath(std::string_view exeDir) {
  return JoinTexts(exeDir, "\\temp");
}

Text ArchivePath(std::string_view exeDir, std::string_view folderName) {
  return JoinTexts(exeDir, "\\temp\\", SafeFolderName(folderName), ".zip");
}

Text PackerPath(std::string_view exeDir) { return JoinTexts(exeDir, "\\zip.exe"); }

Text DescriptionImagePath(std::string_view folder, int index,
                          std::string_view address) {
  return ImageFilePath(folder, gbk::kDescriptionImagePrefix, index,
                       TimeStamp("yyMMddhhmmss"), UrlExtension(address));
}

Text MainImagePath(std::string_view folder, int index, std::string_view address) {
  return ImageFilePath(folder, gbk::kMainImagePrefix, index,
                       TimeStamp("yyMMddhhmmss"), UrlExtension(address));
}

TextArray FolderPrefixes(std::string_view path) {
  TextArray prefixes;
  for (std::size_t i = 0; i < path.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(path[i]);
    if (c == '\\') {
      if (i > 0) prefixes.Add(Text(path.substr(0, i)));
    } else if (c >= 0x81 && i + 1 < path.size()) {
      ++i;  // a double-byte character: its trail byte is no separator
    }
  }
  if (!path.empty() && path.back() != '\\') prefixes.Add(Text(path));
  return prefixes;
}

}  // namespace lumigrab
