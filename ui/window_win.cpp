#include "ui/window.h"

#include <algorithm>
#include <vector>

#include "base/gbk_literals.h"
#include "ui/container_hook.h"
#include "ui/gdi_handles.h"

namespace lumigrab {
namespace {

constexpr char kClassName[] = "MyWindowClass";
constexpr int kIconResource = 129;
constexpr std::int32_t kDefaultWidth = 380;
constexpr std::int32_t kDefaultHeight = 250;
constexpr std::int32_t kStretch = 0;
constexpr std::int32_t kTile = 1;

Text& ClassNameStore() {
  static Text name;
  return name;
}

HWND g_mainWindow = nullptr;

// A picture painted behind a window's client area; the window owns it.
struct BackgroundPicture {
  HWND window;
  HBITMAP picture;
  std::int32_t mode;
};

std::vector<BackgroundPicture>& BackgroundPictures() {
  static std::vector<BackgroundPicture> pictures;
  return pictures;
}

// A memory device context holding a window's skin bitmap, and the bitmap it
// held before, put back when the context goes so the skin is never deleted
// with it.
struct SkinDc {
  HWND window;
  HDC dc;
  HGDIOBJ previous;
};

std::vector<SkinDc>& SkinDcs() {
  static std::vector<SkinDc> dcs;
  return dcs;
}

void DeleteSkinDc(const SkinDc& skin) {
  SelectObject(skin.dc, skin.previous);
  DeleteDC(skin.dc);
}

// Deletes the window's background picture and skin context and forgets
// them, so nothing later paints with or deletes them again.
void ReleaseWindowPictures(HWND window) {
  auto& pictures = BackgroundPictures();
  for (const BackgroundPicture& entry : pictures) {
    if (entry.window == window) DeleteObject(entry.picture);
  }
  std::erase_if(pictures, [window](const BackgroundPicture& e) { return e.window == window; });
  auto& skins = SkinDcs();
  for (const SkinDc& entry : skins) {
    if (entry.window == window) DeleteSkinDc(entry);
  }
  std::erase_if(skins, [window](const SkinDc& e) { return e.window == window; });
}

void PaintBackground(HWND window, const PAINTSTRUCT& paint) {
  const RECT& area = paint.rcPaint;
  for (const SkinDc& skin : SkinDcs()) {
    if (skin.window != window) continue;
    BitBlt(paint.hdc, area.left, area.top, area.right - area.left, area.bottom - area.top,
           skin.dc, area.left, area.top, SRCCOPY);
    return;
  }
  for (const BackgroundPicture& entry : BackgroundPictures()) {
    if (entry.window != window) continue;
    if (entry.mode == kStretch) {
      BITMAP size{};
      GetObjectA(entry.picture, sizeof size, &size);
      RECT outer{};
      GetWindowRect(window, &outer);
      UniqueMemoryDc memory(CreateCompatibleDC(paint.hdc));
      SelectedObject selected(memory.get(), entry.picture);
      StretchBlt(paint.hdc, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 memory.get(), 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
    } else if (entry.mode == kTile) {
      // One brush per paint, deleted right after it.
      UniqueGdiObject<HBRUSH> brush(CreatePatternBrush(entry.picture));
      if (brush != nullptr) FillRect(paint.hdc, &area, brush.get());
    }
    return;
  }
}

void OnPaint(HWND window) {
  PAINTSTRUCT paint{};
  if (BeginPaint(window, &paint) == nullptr) return;
  PaintBackground(window, paint);
  EndPaint(window, &paint);
}

// Calls a handler of the window's record with a copy of it: the handler may
// pump messages, create windows (growing the table) or replace itself.
void CallHandler(std::int32_t index, WindowRecordHandler field, std::int32_t a, std::int32_t b,
                 std::int32_t c, std::int32_t d) {
  const WindowEventHandler handler = WindowRecords()[index].*field;
  if (handler) handler(a, b, c, d);
}

void CallMouseHandler(std::int32_t index, WindowRecordHandler field, WPARAM wParam,
                      LPARAM lParam) {
  const auto position = static_cast<std::int32_t>(lParam);
  CallHandler(index, field, MouseX(position), MouseY(position), static_cast<std::int32_t>(wParam), 0);
}

void OnDestroy(HWND window) {
  const std::int32_t index = WindowRecords().FindRecordIndex(window);
  if (index != 0) CallHandler(index, &WindowRecord::destroyedHandler, 0, 0, 0, 0);
  if (window == g_mainWindow) PostQuitMessage(0);
}

// The messages that only windows with a record answer; false for any other.
bool HandleRecordedMessage(HWND window, std::int32_t index, UINT message, WPARAM wParam,
                           LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      CallHandler(index, &WindowRecord::createdHandler, 0, 0, 0, 0);
      return true;
    case WM_SIZE:
      CallHandler(index, &WindowRecord::resizedHandler, 0, 0, 0, 0);
      return true;
    case WM_MOUSEMOVE:
      CallMouseHandler(index, &WindowRecord::mouseMoveHandler, wParam, lParam);
      return true;
    case WM_LBUTTONDOWN: {
      CallMouseHandler(index, &WindowRecord::leftDownHandler, wParam, lParam);
      // Looked up again: the handler may have grown the table.
      const std::int32_t now = WindowRecords().FindRecordIndex(window);
      if (now != 0 && WindowRecords()[now].dragAnywhere == 1) {
        // The system drags the window as if its caption had been pressed.
        SendMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
      }
      return true;
    }
    case WM_LBUTTONUP:
      CallMouseHandler(index, &WindowRecord::leftUpHandler, wParam, lParam);
      return true;
    case WM_LBUTTONDBLCLK:
      CallMouseHandler(index, &WindowRecord::leftDoubleClickHandler, wParam, lParam);
      return true;
    case WM_RBUTTONDOWN:
      CallMouseHandler(index, &WindowRecord::rightDownHandler, wParam, lParam);
      return true;
    case WM_RBUTTONUP:
      CallMouseHandler(index, &WindowRecord::rightUpHandler, wParam, lParam);
      return true;
    case WM_SETFOCUS:
      CallHandler(index, &WindowRecord::gotFocusHandler, 0, 0, 0, 0);
      return true;
    case WM_KILLFOCUS:
      CallHandler(index, &WindowRecord::lostFocusHandler, 0, 0, 0, 0);
      return true;
    case WM_KEYDOWN:
      CallHandler(index, &WindowRecord::keyDownHandler, static_cast<std::int32_t>(wParam),
                  static_cast<std::int32_t>(lParam), 0, 0);
      return true;
    case WM_KEYUP:
      CallHandler(index, &WindowRecord::keyUpHandler, static_cast<std::int32_t>(wParam),
                  static_cast<std::int32_t>(lParam), 0, 0);
      return true;
    default:
      return false;
  }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnPaint(window);
      return 0;
    case WM_DESTROY:
      OnDestroy(window);
      return DefWindowProcA(window, message, wParam, lParam);
    default:
      break;
  }
  const std::int32_t index = WindowRecords().FindRecordIndex(window);
  if (index != 0 && HandleRecordedMessage(window, index, message, wParam, lParam)) return 0;
  return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterWindowClass() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  windowClass.lpfnWndProc = &WindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kIconResource));
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  if (RegisterClassExA(&windowClass) != 0) ClassNameStore() = kClassName;
}

// The region of a bitmap's pixels that are not the key colour, in the
// bitmap's coordinates; nullptr when its pixels cannot be read.
HRGN OpaqueRegion(HDC reference, HBITMAP bitmap, std::int32_t width, std::int32_t height,
                  COLORREF key) {
  if (width <= 0 || height <= 0) return nullptr;
  // One read of all pixels, top row first, as 0x00RRGGBB words.
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = -height;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  if (GetDIBits(reference, bitmap, 0, static_cast<UINT>(height), pixels.data(), &format,
                DIB_RGB_COLORS) == 0) {
    return nullptr;
  }
  const auto colourAt = [&](std::int32_t x, std::int32_t y) -> std::uint32_t {
    const std::uint32_t p = pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                   static_cast<std::size_t>(x)];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  };
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  for (const PixelRun& run : OpaqueRuns(width, height, colourAt, key)) {
    UniqueGdiObject<HRGN> piece(CreateRectRgn(run.start, run.y, run.end, run.y + 1));
    CombineRgn(region, region, piece.get(), RGN_OR);
  }
  return region;
}

}  // namespace

const Text& WindowClassName() { return ClassNameStore(); }

HWND MainWindowHandle() { return g_mainWindow; }

WindowRecordTable& WindowRecords() {
  static WindowRecordTable records;
  return records;
}

void RunMessageLoop() {
  MSG message;
  // GetMessageA gives -1 on an error (a bad argument); that ends the loop
  // too rather than spinning.
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

Window::~Window() {
  if (window_ != nullptr) ReleaseWindowPictures(window_);
}

std::unique_ptr<Control> Window::Copy() const { return std::unique_ptr<Control>(new Window(*this)); }

HWND Window::Create(const WindowArguments& arguments) {
  if (IsCreated()) return window_;
  if (WindowClassName().empty()) RegisterWindowClass();
  HWND parent = arguments.parent.value_or(nullptr);
  if (parent != nullptr) HookContainer(parent);

  WindowRecordTable& records = WindowRecords();
  // A window made again keeps its record and with it its handlers.
  std::int32_t index = window_ != nullptr ? records.FindRecordIndex(window_) : 0;
  if (index == 0) index = records.Count() + 1;
  tableIndex_ = index;

  const Text title = arguments.title.value_or(gbk::kDefaultWindowTitle);
  const std::int32_t left = arguments.left.value_or(CW_USEDEFAULT);
  const std::int32_t top = arguments.top.value_or(CW_USEDEFAULT);
  const std::int32_t width = arguments.width.value_or(kDefaultWidth);
  const std::int32_t height = arguments.height.value_or(kDefaultHeight);
  const DWORD style = arguments.style.value_or(style_) | arguments.extraStyle.value_or(0);
  HWND window = CreateWindowExA(0, WindowClassName().c_str(), title.c_str(), style, left, top,
                                width, height, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (window == nullptr) return nullptr;

  records.GrowTo(index);
  records[index].window = window;
  if (arguments.creationHandler) records[index].createdHandler = arguments.creationHandler;
  AttachWindow(left, top, width, height, shown_, window, index);
  if (arguments.showMode.value_or(1) == 1) {
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    shown_ = 1;
  }
  // The main window is claimed before its creation event, so a handler that
  // closes it (or opens another window) ends the program's loop as it
  // should instead of leaving a loop with no window to end it.
  const bool isMain = parent == nullptr && g_mainWindow == nullptr;
  if (isMain) g_mainWindow = window;
  // The system's own WM_CREATE came before the record had the window; this
  // one runs the creation handler.
  SendMessageA(window, WM_CREATE, 0, 0);
  if (isMain) RunMessageLoop();
  return window;
}

std::int32_t Window::Destroy() {
  ReleaseWindowPictures(window_);
  return DestroyWindow(window_) ? 1 : 0;
}

std::int32_t Window::SetDragAnywhere(bool drag) {
  WindowRecordTable& records = WindowRecords();
  if (!records.Contains(tableIndex_)) return 0;
  records[tableIndex_].dragAnywhere = drag ? 1 : 0;
  return 1;
}

void Window::SetSkin(HBITMAP bitmap, std::optional<COLORREF> keyColour) {
  BITMAP size{};
  GetObjectA(bitmap, sizeof size, &size);
  RECT outer{};
  GetWindowRect(window_, &outer);
  ShowWindow(window_, SW_HIDE);
  MoveWindow(window_, outer.left, outer.top, size.bmWidth, size.bmHeight, FALSE);

  WindowDc windowDc(window_);
  if (keyColour) {
    // Read before the bitmap is selected anywhere, as GetDIBits requires.
    HRGN region = OpaqueRegion(windowDc.get(), bitmap, size.bmWidth, size.bmHeight, *keyColour);
    // The system owns a region it accepted.
    if (region != nullptr && SetWindowRgn(window_, region, TRUE) == 0) DeleteObject(region);
  }
  {
    UniqueMemoryDc memory(CreateCompatibleDC(windowDc.get()));
    SelectedObject selected(memory.get(), bitmap);
    BitBlt(windowDc.get(), 0, 0, size.bmWidth, size.bmHeight, memory.get(), 0, 0, SRCCOPY);
  }
  InvalidateRect(window_, nullptr, TRUE);

  // Kept selected in a context of its own for every later paint.
  HDC skinDc = CreateCompatibleDC(windowDc.get());
  const SkinDc skin{window_, skinDc, SelectObject(skinDc, bitmap)};
  auto& skins = SkinDcs();
  auto found = std::find_if(skins.begin(), skins.end(),
                            [this](const SkinDc& e) { return e.window == window_; });
  if (found != skins.end()) {
    DeleteSkinDc(*found);
    *found = skin;
  } else {
    skins.push_back(skin);
  }
  ShowWindow(window_, SW_SHOW);
}

void Window::SetBackgroundPicture(HBITMAP picture, std::optional<std::int32_t> mode) {
  auto& pictures = BackgroundPictures();
  auto found = std::find_if(pictures.begin(), pictures.end(),
                            [this](const BackgroundPicture& e) { return e.window == window_; });
  if (found != pictures.end()) {
    // The same picture given again is kept, not deleted.
    if (found->picture != picture) DeleteObject(found->picture);
    found->picture = picture;
    found->mode = mode.value_or(kStretch);
  } else {
    pictures.push_back({window_, picture, mode.value_or(kStretch)});
  }
  InvalidateRect(window_, nullptr, TRUE);
}

std::int32_t Window::Topmost(std::optional<bool> topmost) {
  if (topmost && SetWindowPos(window_, *topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                              SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE)) {
    topmost_ = *topmost ? 1 : 0;
  }
  return topmost_;
}

void Window::SetShowState(std::optional<std::int32_t> state) {
  if (!state || *state == 1) return;
  switch (*state) {
    case 2:
      ShowWindow(window_, SW_MINIMIZE);
      break;
    case 3:
      ShowWindow(window_, SW_MAXIMIZE);
      break;
    default:
      ShowWindow(window_, SW_SHOWNORMAL);
      break;
  }
  UpdateWindow(window_);
}

bool Window::SetHandler(WindowRecordHandler field, WindowEventHandler handler) {
  WindowRecordTable& records = WindowRecords();
  if (!records.Contains(tableIndex_)) return false;
  records[tableIndex_].*field = std::move(handler);
  return true;
}

bool Window::SetResizedHandler(WindowEventHandler h) { return SetHandler(&WindowRecord::resizedHandler, std::move(h)); }
bool Window::SetDestroyedHandler(WindowEventHandler h) { return SetHandler(&WindowRecord::destroyedHandler, std::move(h)); }
bool Window::SetLeftDownHandler(WindowEventHandler h) { return SetHandler(&WindowRecord::leftDownHandler, std::move(h)); }
bool Window::SetLeftUpHandler(WindowEventHandler h) { return SetHandler(&WindowRecord::leftUpHandler, std::move(h)); }
bool Window::SetLeftDoubleClickHandler(WindowEventHandler h) {
  return SetHandler(&WindowRecord::leftDoubleClickHandler, std::move(h));
}
bool Window::SetRightDownHandler(WindowEventHandler h) { return SetHandler(&WindowRecord::rightDownHandler, std::move(h)); }
bool Window::SetRightUpHandler(WindowEventHandler h) { return SetHandler(&WindowRecord::rightUpHandler, std::move(h)); }
bool Window::SetMouseMoveHandler(WindowEventHandler h) { return SetHandler(&WindowRecord::mouseMoveHandler, std::move(h)); }
bool Window::SetGotFocusHandler(WindowEventHandler h) { return SetHandler(&WindowRecord::gotFocusHandler, std::move(h)); }
bool Window::SetLostFocusHandler(WindowEventHandler h) { return SetHandler(&WindowRecord::lostFocusHandler, std::move(h)); }
bool Window::SetKeyDownHandler(WindowEventHandler h) { return SetHandler(&WindowRecord::keyDownHandler, std::move(h)); }
bool Window::SetKeyUpHandler(WindowEventHandler h) { return SetHandler(&WindowRecord::keyUpHandler, std::move(h)); }

}  // namespace lumigrab
