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
//
// Exit code 0 on success, 1 when the window did not appear in time.
#include <windows.h>

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

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const std::string command = argv[1];
  const std::string title = argv[2];
  const int wait = argc > 3 ? std::atoi(argv[3]) : 0;

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
    // A message box's text is its static control 0xFFFF; its icon is the
    // static control 0x14, present only with an icon style.
    std::string text = TextOf(GetDlgItem(window, 0xFFFF));
    for (char& c : text) {
      if (c == '\r') c = 'r';
      if (c == '\n') c = 'n';
    }
    std::printf("%s\n%d\n", text.c_str(), GetDlgItem(window, 0x14) != nullptr ? 1 : 0);
    std::fflush(stdout);
    PostMessageA(window, WM_COMMAND, IDOK, 0);
  } else if (command == "close") {
    PostMessageA(window, WM_CLOSE, 0, 0);
  } else {
    return 2;
  }
  return 0;
}
