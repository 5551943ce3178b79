#pragma once
// The program's process-wide state and its main window: the seven wrapper
// objects, the window's content and the export it starts.

#include <memory>

#include "base/text.h"
#include "export/export_job.h"
#include "ui/bitmaps.h"
#include "ui/controls.h"
#include "ui/window.h"

namespace lumigrab {

// The process-wide objects, created at start-up in this order and released
// by the end-of-program callback.
struct ProgramGlobals {
  Text startUrl;
  TextArray commandLineArguments;
  Window mainWindow;
  ImageStrip imageStrip;
  Label urlLabel;
  Label versionLabel;
  Button exportButton;
  EditBox urlBox;
  PictureBox logo;
};

// The globals of the running program; null before start-up and after the
// release.
ProgramGlobals* Globals();
void CreateGlobals();
// The end-of-program callback: releases the texts and lists and destroys the
// wrapper objects (never their windows).
void ReleaseGlobals();

// The main window's creation event: the controls, the skin, the two user
// events, and the immediate export when started with an address.
void BuildMainWindow();

// Opens a web address with the system's default handler.
void OpenInBrowser(const Text& address);

// The main window as the export's host.
class MainWindowHost final : public ExportHost {
 public:
  Text ReadAddress() override;
  void SetExportControlsEnabled(bool enabled) override;
  bool StartedWithAddress() override;
};

// The version label's text: "LUMIGRAB V1.0", CR LF, the credit line.
Text VersionLabelText();

}  // namespace lumigrab
