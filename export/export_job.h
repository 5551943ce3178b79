#pragma once
// One export, from the address of a product page to a finished folder.

#include "base/text.h"

namespace lumigrab {

// What an export needs of the window that starts it.
class ExportHost {
 public:
  virtual ~ExportHost() = default;
  // The current text of the URL box.
  virtual Text ReadAddress() = 0;
  // false: the "Export" button, then the URL box, are disabled; true: the URL
  // box, then the button, are enabled.
  virtual void SetExportControlsEnabled(bool enabled) = 0;
  // Whether the program was started with an address on its command line,
  // which makes the export end by handing its folder to the packer.
  virtual bool StartedWithAddress() = 0;
};

// Runs the whole export for the host's address. Returns when done, except
// after a hand-off to the packer, where the program ends.
void RunExport(ExportHost& host);

// The page bytes, UTF-8, in the ANSI code page; the text ends at the first
// zero character, and characters the code page lacks become its default.
Text Utf8ToAnsiText(const Bytes& bytes);

}  // namespace lumigrab
