// A second program for the instance guard tests:
//   instance_guard_probe NAME MARKER [RELEASE-EVENT]
// Passes InstanceGuard(NAME), then writes MARKER; with RELEASE-EVENT it
// stays (holding the mark) until that event is signalled. Every end goes
// through EndProgram, whose callback writes MARKER.ended.
#include <windows.h>

#include "base/files.h"
#include "base/process.h"
#include "ipc/process_lookup.h"

namespace {

lumigrab::Text g_marker;

void WriteFileText(const lumigrab::Text& path, const lumigrab::Text& text) {
  lumigrab::FileObject file = lumigrab::OpenFile(path, 4);
  lumigrab::WriteText(file, text);
  lumigrab::CloseFile(file);
}

void OnEnd() { WriteFileText(g_marker + ".ended", "ended"); }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  g_marker = argv[2];
  lumigrab::SetEndOfProgramCallback(OnEnd);
  lumigrab::InstanceGuard(argv[1]);
  WriteFileText(g_marker, "passed");
  if (argc >= 4) {
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, argv[3]);
    WaitForSingleObject(release, 60000);
    CloseHandle(release);
  }
  lumigrab::EndProgram(0);
}
