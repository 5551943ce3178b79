#pragma once
// The packer's log: zip.log beside zip.exe, one UTF-8 line per event, so a
// user can see why no archive came.

#include <string>

#include "base/text.h"

namespace lumigrab {

// The folder of zip.exe, without a trailing backslash.
std::wstring PackerFolder();

// Appends "YYYY-MM-DD hh:mm:ss [process id] line" and CR LF. Control
// characters in the line are written as \xNN.
void LogLine(const Text& utf8Line);

}  // namespace lumigrab
