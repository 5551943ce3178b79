#include "app/main_window.h"

#include <shellapi.h>

#include "base/files.h"
#include "base/gbk_literals.h"
#include "base/process.h"
#include "ui/bmp_bytes.h"

namespace lumigrab {
namespace {

std::unique_ptr<ProgramGlobals> g_globals;

}  // namespace

ProgramGlobals* Globals() { return g_globals.get(); }

void CreateGlobals() { g_globals = std::make_unique<ProgramGlobals>(); }

void ReleaseGlobals() { g_globals.reset(); }

Text VersionLabelText() {
  const char* credit = LUMIGRAB_CREDIT_LINE;
  return JoinTexts("LUMIGRAB V1.0\r\n", *credit != '\0' ? credit : gbk::kDefaultCreditLine);
}

Text MainWindowHost::ReadAddress() { return Globals()->urlBox.Content(); }

void MainWindowHost::SetExportControlsEnabled(bool enabled) {
  ProgramGlobals& g = *Globals();
  if (enabled) {
    g.urlBox.SetDisabled(false);
    g.exportButton.SetDisabled(false);
  } else {
    g.exportButton.SetDisabled(true);
    g.urlBox.SetDisabled(true);
  }
}

bool MainWindowHost::StartedWithAddress() { return !Globals()->startUrl.empty(); }

void OpenInBrowser(const Text& address) {
  // The result is not checked: without a browser nothing happens.
  (void)ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr,
                      SW_SHOWNORMAL);
}

void BuildMainWindow() {
  ProgramGlobals& g = *Globals();
  const HWND parent = g.mainWindow.Handle();

  g.imageStrip.Create(1, 1, 1);
  g.imageStrip.AddBitmapFromBytes(WhitePixelBmp());

  const Text skinPath = ExeDir() + "\\img\\stickers.bmp";
  if (!FileExists(skinPath)) {
    MessageBoxA(nullptr, "Error,\"stickers.bmp\" does not exist", "ERROR",
                MB_ICONWARNING);
    EndProgram(0);
  }
  FileObject skin = OpenFile(skinPath, 1);

  g.urlLabel.Create(parent, {.text = "URL:", .left = 45, .top = 30, .width = 25,
                             .height = 23, .alignment = 21});
  g.urlLabel.SetColors(0xFFFFFF, 0x000000);
  g.versionLabel.Create(parent, {.text = VersionLabelText(), .left = 288, .top = 80,
                                 .width = 160, .height = 40, .alignment = 21});
  g.versionLabel.SetColors(0xFFFFFF, 0xC0C0C0);
  g.exportButton.Create(parent, {.text = "Export", .left = 377, .top = 25,
                                 .width = 50, .height = 24});
  g.urlBox.Create(parent, {.text = "", .left = 68, .top = 25, .width = 300,
                           .height = 24, .kind = 32, .alignmentStyle = 0,
                           .readOnly = false, .verticalScrollBar = false,
                           .horizontalScrollBar = false});
  g.logo.Create(parent, {.left = 20, .top = 70, .width = 80, .height = 32});

  g.logo.SetPicture(ReadBytes(skin, FileLength(skin)));
  CloseFile(skin);  // read once; nothing else needs it open

  // An image-list handle makes no pattern brush: the window tiles the
  // strip's own white pixel instead, so the white labels sit on white.
  g.mainWindow.SetBackgroundPicture(BitmapFromBytes(WhitePixelBmp()), 1);

  g.exportButton.SetClickHandler([] {
    MainWindowHost host;
    RunExport(host);
  });
  g.logo.SetDoubleClickHandler([] { OpenInBrowser(LUMIGRAB_SITE_ROOT); });

  if (g.startUrl.empty()) return;
  g.mainWindow.SetShowState(2);
  g.urlBox.Content(g.startUrl);
  MainWindowHost host;
  RunExport(host);
}

}  // namespace lumigrab
