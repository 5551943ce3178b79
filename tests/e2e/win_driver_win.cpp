// Looks at and drives the windows of another program for the end-to-end
// tests, the way a user's eyes would: titles, control texts and states,
// message boxes. Typing and clicking go through the X server instead.
//
//   win_driver find TITLE MS        wait for a visible top-level window
//                                   "pid left top width height clientX clientY"
//   win_driver controls TITLE       one line per child:
//                                   "class|enabled|left,top,width,height|text"
//   win_driver box TITLE MS         wait for a message box, print its text
//                                   and its icon style, then press OK
//   win_driver close TITLE          ask the window to close
//   win_driver absent TITLE MS      exit 0 when no such window shows up
//   win_driver kill NAME            end every process of that file name
//
// Exit code 0 on success, 1 when the window did not appear in time.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Search {
  std::string title;
  HWND found = nullptr;
};

BOOL CALLBACK Match(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  char title[256] = {};
  GetWindowTextA(window, title, sizeof title);
  if (IsWindowVisible(window) && search->title == title) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND FindTopLevel(const std::string& title, int milliseconds) {
  Search search{title};
  const DWORD start = GetTickCount();
  for (;;) {
    EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    if (static_cast<int>(GetTickCount() - start) >= milliseconds) return nullptr;
    Sleep(50);
  }
}

std::string TextOf(HWND window) {
  char text[1024] = {};
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 5000, nullptr);
  return text;
}

BOOL CALLBACK PrintChild(HWND child, LPARAM param) {
  HWND parent = reinterpret_cast<HWND>(param);
  if (GetParent(child) != parent) return TRUE;
  char cls[64] = {};
  GetClassNameA(child, cls, sizeof cls);
  RECT r;
  GetWindowRect(child, &r);
  POINT corner{r.left, r.top};
  ScreenToClient(parent, &corner);
  std::string text = TextOf(child);
  for (char& c : text) {
    if (c == '\r') c = 'r';
    if (c == '\n') c = 'n';
  }
  std::printf("%s|%d|%ld,%ld,%ld,%ld|%s\n", cls, IsWindowEnabled(child) ? 1 : 0,
              corner.x, corner.y, r.right - r.left, r.bottom - r.top, text.c_str());
  return TRUE;
}

// Which system icon a message box shows: Windows numbers its icon control
// 0x14, Wine 0x440. Wine's box loads its own copy of the icon, so there a
// shown icon reads "other".
const char* IconName(HWND box) {
  HWND control = GetDlgItem(box, 0x14);
  if (control == nullptr) control = GetDlgItem(box, 0x440);
  if (control == nullptr || !IsWindowVisible(control)) return "none";
  const HICON icon = reinterpret_cast<HICON>(SendMessageA(control, STM_GETICON, 0, 0));
  if (icon == nullptr) return "none";
  const struct {
    LPCSTR id;
    const char* name;
  } icons[] = {{IDI_WARNING, "warning"}, {IDI_INFORMATION, "information"},
               {IDI_ERROR, "error"}, {IDI_QUESTION, "question"}};
  for (const auto& i : icons) {
    if (LoadIconA(nullptr, i.id) == icon) return i.name;
  }
  return "other";
}

int KillAll(const std::string& name) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 1;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more;
       more = Process32Next(snapshot, &entry)) {
    if (lstrcmpiA(entry.szExeFile, name.c_str()) != 0) continue;
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID);
    if (process != nullptr) {
      TerminateProcess(process, 9);
      WaitForSingleObject(process, 5000);
      CloseHandle(process);
    }
  }
  CloseHandle(snapshot);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const std::string command = argv[1];
  const std::string title = argv[2];
  const int wait = argc > 3 ? std::atoi(argv[3]) : 0;

  if (command == "kill") return KillAll(title);
  if (command == "absent") return FindTopLevel(title, wait) == nullptr ? 0 : 1;

  HWND window = FindTopLevel(title, wait);
  if (window == nullptr) return 1;

  if (command == "find") {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    RECT r;
    GetWindowRect(window, &r);
    POINT client{0, 0};
    ClientToScreen(window, &client);
    std::printf("%lu %ld %ld %ld %ld %ld %ld\n", pid, r.left, r.top, r.right - r.left,
                r.bottom - r.top, client.x, client.y);
  } else if (command == "controls") {
    EnumChildWindows(window, PrintChild, reinterpret_cast<LPARAM>(window));
  } else if (command == "box") {
    // A message box's text is its static control 0xFFFF.
    std::string text = TextOf(GetDlgItem(window, 0xFFFF));
    for (char& c : text) {
      if (c == '\r') c = 'r';
      if (c == '\n') c = 'n';
    }
    std::printf("%s\n%s\n", text.c_str(), IconName(window));
    std::fflush(stdout);
    PostMessageA(window, WM_COMMAND, IDOK, 0);
  } else if (command == "close") {
    PostMessageA(window, WM_CLOSE, 0, 0);
  } else {
    return 2;
  }
  return 0;
}
