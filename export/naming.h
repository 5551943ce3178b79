#pragma once
// Names of everything an export writes (export folder, image files, record,
// temporary page copy, packing folder and archive) and the small path
// helpers behind them.

#include <string_view>

#include "base/date_time.h"
#include "base/text.h"

namespace lumigrab {

// The pattern with its date tokens replaced by the value's fields, longest
// token first: yyyy yyy yy y MM M dd d hh h mm ss s. An empty pattern is
// "yyyyMMddhhmmss".
Text FormatTimeStamp(std::string_view pattern, DateTime value);
// The same for the current local time.
Text TimeStamp(std::string_view pattern);

// The extension of an address with its dot, found as PathFindExtensionA
// finds it: the last dot not followed by a backslash or a space.
Text UrlExtension(std::string_view address);

// A folder name made only of dots and spaces would name Output itself or its
// parent once Windows has stripped it: such a name counts as empty.
Text SafeFolderName(std::string_view folderName);

// False for a name part that would leave the folder it is put in or name
// something other than a plain file there: a slash makes a path through a
// subfolder, a colon an alternate stream of another file.
bool StaysInFolder(std::string_view namePart);

// ExeDir + "\Output\" + folder name (made safe).
Text ExportFolderPath(std::string_view exeDir, std::string_view folderName);
// folder + "\" + prefix + index + "_" + stamp + extension.
Text ImageFilePath(std::string_view folder, std::string_view prefix, int index,
                   std::string_view stamp, std::string_view extension);
// folder + "\" + stamp + ".ac.txt".
Text RecordFilePath(std::string_view folder, std::string_view stamp);
// tempFolder + "lmg" + r + ".html".
Text TempPageFilePath(std::string_view tempFolder, int r);
// ExeDir + "\temp".
Text PackingFolderPath(std::string_view exeDir);
// ExeDir + "\temp\" + folder name (made safe) + ".zip".
Text ArchivePath(std::string_view exeDir, std::string_view folderName);
// ExeDir + "\zip.exe".
Text PackerPath(std::string_view exeDir);

// The name of description image number i (from 1) of the current export,
// stamped now: "产品图" i "_" yyMMddhhmmss extension. Main images take
// "预览图".
Text DescriptionImagePath(std::string_view folder, int index,
                          std::string_view address);
Text MainImagePath(std::string_view folder, int index, std::string_view address);

// Creates every missing folder of the path; true when it exists afterwards.
bool EnsureFolder(const Text& path);
// Whether the path names an existing folder.
bool IsFolder(const Text& path);
// The folder for temporary files, ending in a backslash, or empty.
Text TempFolderPath();

// The folder prefixes EnsureFolder creates in turn, root first: the path is
// cut after every backslash that is a character of its own (a GBK trail
// byte 0x5C is not a separator), and a last part without a backslash is a
// folder too.
TextArray FolderPrefixes(std::string_view path);

}  // namespace lumigrab
