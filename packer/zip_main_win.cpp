// zip.exe: the packer. Shows a small window with a progress bar, takes one
// hand-off under "imgzip" (the export folder, "|", the archive path), writes
// the archive of the folder's files and ends. Every refusal and failure is a
// line in zip.log beside it.
//
// Exit codes: 0 archive written, 1 hand-off refused or packing failed,
// 2 no hand-off came in time. The one option, --handoff-wait-ms=N, shortens
// that wait (default one minute).
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>
#include <optional>

#include "ipc/handoff.h"
#include "ipc/packing_payload.h"
#include "packer/pack_job.h"
#include "packer/packer_log.h"
#include "packer/wide_text_win.h"

namespace lumigrab {
namespace {

// Two paths and a separator; anything longer is not a packing request.
constexpr std::size_t kPayloadLimit = 65536;
constexpr UINT kDefaultHandOffWaitMs = 60000;
constexpr UINT_PTR kHandOffWaitTimer = 1;
constexpr UINT kStartPacking = WM_APP + 1;
constexpr int kProgressId = 100;

enum class State { kWaiting, kPacking, kEnding };

struct Packer {
  HWND window = nullptr;
  HWND progressBar = nullptr;
  UINT handOffMessage = 0;
  State state = State::kWaiting;
  bool cancelled = false;
  int exitCode = 0;
  std::optional<PackPlan> plan;
};

Packer g_packer;

void End(int exitCode) {
  g_packer.exitCode = exitCode;
  g_packer.state = State::kEnding;
  DestroyWindow(g_packer.window);
}

// The sender waits inside its send until this returns: read what it
// hands over, check it, answer, and leave the packing for later.
void OnHandOff(WPARAM wParam, LPARAM lParam) {
  if (g_packer.state != State::kWaiting) {
    LogLine("a further hand-off was ignored: this packer already has its job");
    return;
  }
  KillTimer(g_packer.window, kHandOffWaitTimer);
  HandOffReadResult read = ReadHandOff(wParam, lParam, kPayloadLimit);
  if (!read.handOff) {
    LogLine("hand-off refused: " + read.failure + "; no archive written");
    return End(1);
  }
  const auto request = SplitPackingPayload(read.handOff->payload);
  if (!request) {
    LogLine("hand-off refused: the payload is not a folder, \"|\" and an archive path; "
            "no archive written");
    return End(1);
  }
  Text why;
  g_packer.plan = PlanPacking(*request, PackerFolder(), why);
  if (!g_packer.plan) {
    LogLine("hand-off refused: " + why + "; no archive written");
    return End(1);
  }
  if (!AcknowledgeHandOff(*read.handOff)) {
    LogLine("the sender went away before the hand-off was acknowledged; no archive written");
    return End(1);
  }
  g_packer.state = State::kPacking;
  PostMessageW(g_packer.window, kStartPacking, 0, 0);
}

// Keeps the window alive between files; a WM_QUIT seen here goes back for
// the main loop.
bool ShowProgress(int done, int total) {
  SendMessageW(g_packer.progressBar, PBM_SETRANGE32, 0, total);
  SendMessageW(g_packer.progressBar, PBM_SETPOS, done, 0);
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return !g_packer.cancelled;
}

void OnStartPacking() {
  const PackPlan& plan = *g_packer.plan;
  for (const Text& note : plan.skipped) LogLine(note);
  Text why;
  if (!WriteArchive(plan, ShowProgress, why)) {
    LogLine("packing \"" + Utf8FromWide(plan.folder) + "\" failed: " + why +
            "; no archive written");
    return End(1);
  }
  LogLine("packed " + ToText(static_cast<std::int64_t>(plan.files.size())) +
          " files of \"" + Utf8FromWide(plan.folder) + "\" into \"" +
          Utf8FromWide(plan.archive) + "\"");
  End(0);
}

LRESULT CALLBACK PackerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == g_packer.handOffMessage && message != 0) {
    OnHandOff(wParam, lParam);
    return 0;
  }
  switch (message) {
    case kStartPacking:
      OnStartPacking();
      return 0;
    case WM_TIMER:
      if (wParam == kHandOffWaitTimer && g_packer.state == State::kWaiting) {
        KillTimer(window, kHandOffWaitTimer);
        LogLine("no hand-off came; ending without an archive");
        End(2);
      }
      return 0;
    case WM_CLOSE:
      // While packing, stop after the current file and clean up first.
      if (g_packer.state == State::kPacking) {
        g_packer.cancelled = true;
        return 0;
      }
      if (g_packer.state == State::kWaiting) LogLine("closed before any hand-off came");
      End(g_packer.state == State::kWaiting ? 2 : g_packer.exitCode);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(g_packer.exitCode);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

UINT HandOffWaitFromCommandLine() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  UINT wait = kDefaultHandOffWaitMs;
  constexpr wchar_t kOption[] = L"--handoff-wait-ms=";
  for (int i = 1; arguments != nullptr && i < count; ++i) {
    if (std::wcsncmp(arguments[i], kOption, std::wcslen(kOption)) == 0) {
      wait = static_cast<UINT>(std::wcstoul(arguments[i] + std::wcslen(kOption), nullptr, 10));
    }
  }
  LocalFree(arguments);
  return wait;
}

bool CreatePackerWindow(HINSTANCE instance, int showCommand) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);

  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = PackerProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"LumigrabPacker";
  if (!RegisterClassW(&windowClass)) return false;

  constexpr int kWidth = 360, kHeight = 90;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
  g_packer.window = CreateWindowExW(0, windowClass.lpszClassName, L"zip",
                                    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                    x, y, kWidth, kHeight, nullptr, nullptr, instance, nullptr);
  if (g_packer.window == nullptr) return false;
  RECT client{};
  GetClientRect(g_packer.window, &client);
  g_packer.progressBar = CreateWindowExW(
      0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 12, (client.bottom - 20) / 2,
      client.right - 24, 20, g_packer.window,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kProgressId)), instance, nullptr);
  // The sender finds this program by its visible window: shown it must be,
  // however it was started.
  ShowWindow(g_packer.window, showCommand);
  if (!IsWindowVisible(g_packer.window)) ShowWindow(g_packer.window, SW_SHOWNOACTIVATE);
  UpdateWindow(g_packer.window);
  return true;
}

int Run(HINSTANCE instance, int showCommand) {
  g_packer.handOffMessage = RegisterWindowMessageA(kPackerKeyWord);
  if (g_packer.handOffMessage == 0 || !CreatePackerWindow(instance, showCommand)) {
    LogLine("the packer window cannot be created");
    return 1;
  }
  SetTimer(g_packer.window, kHandOffWaitTimer, HandOffWaitFromCommandLine(), nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return g_packer.exitCode;
}

}  // namespace
}  // namespace lumigrab

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  return lumigrab::Run(instance, showCommand);
}
