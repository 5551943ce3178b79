// A stand-in for the programs that receive hand-offs (the packer and the
// companion picture program), for tests.
//
//   handoff_receiver [--key=WORD] [--out=PATH] [--acks=YN...] [--hidden]
//                    [--windows=N] [--life-ms=N] [--linger-ms=N]
//
// It shows N visible top-level windows ("receiver 1" ...; none visible with
// --hidden), registers the key word, and for the n-th hand-off message reads
// the descriptor and the payload out of the sender, writes 0x02 into the
// sender's acknowledgement byte when the n-th letter of --acks is Y (the
// last letter holds for later messages; default Y), and writes the record
// PATH.n before its window procedure returns:
//
//   wparam=<low 32 bits, decimal>
//   sender=<process id read from wparam>
//   descriptor=<descriptor text>
//   acked=<1 or 0>
//   error=<why the hand-off could not be read>     (only then)
//   payload=<the payload bytes, to the end of the file>
//
// Without arguments it takes its key word from its own file name (zip.exe:
// "imgzip", pictdesk.exe: "pictdesk") and writes <its own path>.received.n.
// It ends linger-ms (default 2000) after the last hand-off, so a sender that
// looks for it right after the hand-off still sees it, or after life-ms
// (default 120000) when none comes, or on WM_CLOSE.
#include <windows.h>

#include <cstdlib>
#include <vector>

#include "base/files.h"
#include "ipc/handoff.h"

namespace lumigrab {
namespace {

struct Options {
  Text keyWord;
  Text outPath;
  Text acks = "Y";
  bool hidden = false;
  int windows = 1;
  UINT lifeMs = 120000;
  UINT lingerMs = 2000;
};

constexpr UINT_PTR kEndTimer = 1;
constexpr std::size_t kPayloadLimit = 1 << 20;

Options g_options;
UINT g_message = 0;
int g_received = 0;

Text OwnPath() {
  char path[MAX_PATH + 1] = {};
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return Text(path, n);
}

Options ParseOptions(int argc, char** argv) {
  Options options;
  const Text self = OwnPath();
  const Text fileName = ToLowerText(self.substr(self.find_last_of('\\') + 1));
  if (fileName == "zip.exe") options.keyWord = "imgzip";
  if (fileName == "pictdesk.exe") options.keyWord = "pictdesk";
  options.outPath = self + ".received";
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--hidden") {
      options.hidden = true;
      continue;
    }
    const std::size_t eq = argument.find('=');
    if (!argument.starts_with("--") || eq == std::string_view::npos) continue;
    const std::string_view name = argument.substr(2, eq - 2);
    const Text value(argument.substr(eq + 1));
    if (name == "key") options.keyWord = value;
    if (name == "out") options.outPath = value;
    if (name == "acks") options.acks = value;
    if (name == "windows") options.windows = std::atoi(value.c_str());
    if (name == "life-ms") options.lifeMs = static_cast<UINT>(std::atoi(value.c_str()));
    if (name == "linger-ms") options.lingerMs = static_cast<UINT>(std::atoi(value.c_str()));
  }
  if (options.acks.empty()) options.acks.push_back('Y');
  return options;
}

bool AckWanted(int index) {
  const std::size_t i = std::min<std::size_t>(static_cast<std::size_t>(index - 1),
                                              g_options.acks.size() - 1);
  return g_options.acks[i] == 'Y';
}

void WriteRecord(const Text& record, int index) {
  const Text path = g_options.outPath + "." + ToText(static_cast<std::int32_t>(index));
  const Text partial = path + ".part";
  FileObject file = OpenFile(partial, 4);
  WriteText(file, record);
  CloseFile(file);
  // Whole or not at all: the test reads it as soon as it appears.
  MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

void OnHandOff(HWND window, WPARAM wParam, LPARAM lParam) {
  const int index = ++g_received;
  HandOffReadResult read = ReadHandOff(wParam, lParam, kPayloadLimit);
  bool acked = false;
  if (read.handOff && AckWanted(index)) acked = AcknowledgeHandOff(*read.handOff);

  Text record = "wparam=" + ToText(static_cast<std::int64_t>(static_cast<std::uint32_t>(wParam))) + "\n";
  if (read.handOff) {
    record += "sender=" + ToText(static_cast<std::int64_t>(read.handOff->senderProcessId)) + "\n";
    record += "descriptor=" + read.handOff->descriptorText + "\n";
  }
  record += Text("acked=") + (acked ? "1" : "0") + "\n";
  if (!read.handOff) record += "error=" + read.failure + "\n";
  record += "payload=";
  if (read.handOff) record += BytesToText(read.handOff->payload);
  WriteRecord(record, index);

  SetTimer(window, kEndTimer, g_options.lingerMs, nullptr);
}

LRESULT CALLBACK ReceiverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == g_message && g_message != 0) {
    OnHandOff(window, wParam, lParam);
    return 0;
  }
  switch (message) {
    case WM_TIMER:
      if (wParam == kEndTimer) PostQuitMessage(0);
      return 0;
    case WM_CLOSE:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

int Run(int argc, char** argv) {
  g_options = ParseOptions(argc, argv);
  if (g_options.keyWord.empty()) return 3;
  g_message = RegisterWindowMessageA(g_options.keyWord.c_str());

  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = ReceiverProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "LumigrabTestReceiver";
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassA(&windowClass);

  std::vector<HWND> windows;
  for (int i = 1; i <= std::max(1, g_options.windows); ++i) {
    const Text title = "receiver " + ToText(static_cast<std::int32_t>(i));
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, title.c_str(),
                                  WS_OVERLAPPEDWINDOW, 40 * i, 40 * i, 240, 120,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
    if (window == nullptr) return 4;
    if (!g_options.hidden) ShowWindow(window, SW_SHOWNOACTIVATE);
    windows.push_back(window);
  }
  SetTimer(windows.front(), kEndTimer, g_options.lifeMs, nullptr);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}

}  // namespace
}  // namespace lumigrab

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return lumigrab::Run(__argc, __argv);
}
