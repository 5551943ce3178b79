// Plays the exporting program for the packer's end-to-end check:
//   packer_send ZIP.EXE FOLDER ARCHIVE
// starts ZIP.EXE, waits for its window, hands it FOLDER|ARCHIVE under
// "imgzip" (ANSI bytes, as the exporting program sends them) and waits for
// it to end. Exit code: the packer's own, or 100 when it did not accept
// the hand-off, 101 when it could not be started or showed no window,
// 102 when it did not end within a minute.
#include <windows.h>

#include <cstdio>

#include "ipc/handoff.h"
#include "ipc/packing_payload.h"
#include "ipc/process_lookup.h"
#include "tests/ipc/windows_test_support.h"

int main(int argc, char** argv) {
  using namespace lumigrab;
  if (argc != 4) {
    std::fprintf(stderr, "usage: packer_send ZIP.EXE FOLDER ARCHIVE\n");
    return 2;
  }
  testing::ChildProcess packer(testing::Quoted(argv[1]));
  if (!packer.Started()) return 101;
  const HWND window = testing::WaitForVisibleWindow(packer.Id(), 30000);
  if (window == nullptr) return 101;
  const Bytes payload = MakePackingPayload(argv[2], argv[3]);
  const bool accepted = HandOffToWindow(window, kPackerKeyWord, payload);
  const auto exitCode = packer.WaitForExit(60000);
  if (!accepted) return 100;
  if (!exitCode) return 102;
  return static_cast<int>(*exitCode);
}
