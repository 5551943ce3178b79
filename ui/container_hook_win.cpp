#include "ui/container_hook.h"

#include <algorithm>
#include <map>
#include <set>

#include "base/gbk_literals.h"
#include "ui/gdi_handles.h"

namespace lumigrab {
namespace {

std::vector<HookEntry>& Hooks() {
  static std::vector<HookEntry> hooks;
  return hooks;
}

std::vector<HWND>& Statics() {
  static std::vector<HWND> statics;
  return statics;
}

// Brushes live as long as the program: a control may paint with the brush
// it was handed at any later time, so none can be deleted safely while the
// control may still use it. Keyed by colour, their number is bounded by the
// colours the program uses, however often the controls ask.
std::map<COLORREF, UniqueGdiObject<HBRUSH>>& ColourBrushes() {
  static std::map<COLORREF, UniqueGdiObject<HBRUSH>> brushes;
  return brushes;
}

HBRUSH BrushFor(COLORREF colour) {
  auto& brushes = ColourBrushes();
  auto found = brushes.find(colour);
  if (found != brushes.end()) return found->second.get();
  HBRUSH brush = CreateSolidBrush(colour);
  if (brush != nullptr) brushes.emplace(colour, UniqueGdiObject<HBRUSH>(brush));
  return brush;
}

// Fonts made by SetControlFont. Only these are deleted when a window gets a
// new one: a font the window had from elsewhere may be shared.
std::set<HFONT>& OwnedFonts() {
  static std::set<HFONT> fonts;
  return fonts;
}

WNDPROC PreviousProc(HWND container) {
  for (const HookEntry& entry : Hooks()) {
    if (entry.container == container) return entry.previousProc;
  }
  return nullptr;
}

LRESULT PassOn(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (WNDPROC previous = PreviousProc(window)) {
    return CallWindowProcA(previous, window, message, wParam, lParam);
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool IsStaticHandle(HWND window) {
  const auto& statics = Statics();
  return std::find(statics.begin(), statics.end(), window) != statics.end();
}

LRESULT AnswerColourQuestion(HWND window, UINT message, HDC dc, HWND control) {
  ControlRecordTable& records = ControlRecords();
  const std::int32_t index = records.FindRecordIndex(control);
  if (!records.Contains(index)) return PassOn(window, message, reinterpret_cast<WPARAM>(dc),
                                              reinterpret_cast<LPARAM>(control));
  const ControlColors colors = records[index].colors;
  HBRUSH brush = BrushFor(colors.background);
  SelectObject(dc, brush);
  SetBkColor(dc, colors.background);
  SetTextColor(dc, colors.text);
  return reinterpret_cast<LRESULT>(brush);
}

LRESULT DispatchNotification(HWND window, WPARAM wParam, HWND sender) {
  ControlRecordTable& records = ControlRecords();
  const std::int32_t id = LOWORD(wParam);
  const RecordHandler field =
      records.Contains(id) ? NotificationHandler(IsStaticHandle(sender), HIWORD(wParam))
                           : nullptr;
  if (field == nullptr) {
    return PassOn(window, WM_COMMAND, wParam, reinterpret_cast<LPARAM>(sender));
  }
  // A copy: the handler may pump messages, create controls (growing the
  // table) or replace itself while it runs.
  const EventHandler handler = records[id].*field;
  if (handler) handler();
  return 0;
}

}  // namespace

ControlRecordTable& ControlRecords() {
  static ControlRecordTable records;
  return records;
}

const std::vector<HookEntry>& HookTable() { return Hooks(); }

const std::vector<HWND>& StaticHandles() { return Statics(); }

void HookContainer(HWND container) {
  // A handle that names no window has no procedure to put anything before.
  if (!IsWindow(container)) return;
  for (const HookEntry& entry : Hooks()) {
    if (entry.container == container) return;
  }
  const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(container, GWLP_WNDPROC));
  // Recorded before the switch, so a message arriving during it is passed on.
  Hooks().push_back({container, previous});
  SetWindowLongPtrA(container, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ContainerProc));
}

LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return AnswerColourQuestion(window, message, reinterpret_cast<HDC>(wParam),
                                  reinterpret_cast<HWND>(lParam));
    case WM_COMMAND:
      return DispatchNotification(window, wParam, reinterpret_cast<HWND>(lParam));
    default:
      return PassOn(window, message, wParam, lParam);
  }
}

void SetControlFont(HWND window, const Text& face, std::optional<std::int32_t> height,
                    std::optional<bool> bold, std::optional<bool> italic,
                    std::optional<bool> underline, std::optional<bool> strikeOut) {
  const auto old = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
  HFONT font = CreateFontA(height.value_or(20), 0, 0, 0, bold.value_or(false) ? FW_BOLD : 0,
                           italic.value_or(false) ? 1 : 0, underline.value_or(false) ? 1 : 0,
                           strikeOut.value_or(false) ? 1 : 0, GB2312_CHARSET, 0, 0, 0, 0,
                           face.c_str());
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  if (old != nullptr && old != font && OwnedFonts().erase(old) > 0) DeleteObject(old);
  if (font == nullptr) return;
  // A window without text (a picture's static control) may not take a font
  // at all; then nobody would ever use or delete it.
  if (reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)) == font) {
    OwnedFonts().insert(font);
  } else {
    DeleteObject(font);
  }
}

std::size_t ColourBrushCount() { return ColourBrushes().size(); }

void SetRecordColors(std::int32_t index, std::uint32_t background, std::uint32_t text) {
  ControlRecordTable& records = ControlRecords();
  if (records.Contains(index)) records[index].colors = {background, text};
}

HWND CreateControlWindow(const ChildWindowRequest& request, HWND previousWindow,
                         std::int32_t& indexField) {
  HookContainer(request.parent);
  ControlRecordTable& records = ControlRecords();
  // A control whose window is made again finds its old record (and keeps
  // its handlers); a fresh one takes the next index.
  std::int32_t index = previousWindow != nullptr ? records.FindRecordIndex(previousWindow) : 0;
  if (index == 0) index = records.Count() + 1;
  indexField = index;
  HWND window = CreateWindowExA(request.extendedStyle, request.className, request.text.c_str(),
                                request.style, request.left, request.top, request.width,
                                request.height, request.parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(index)),
                                GetModuleHandleA(nullptr), nullptr);
  if (window == nullptr) return nullptr;
  records.GrowTo(index);
  return window;
}

void FinishControlCreation(std::int32_t index, HWND window, bool isStatic) {
  ControlRecordTable& records = ControlRecords();
  records[index].window = window;
  records[index].index = index;
  SetControlFont(window, gbk::kSongTypeface, 12);
  if (isStatic) Statics().push_back(window);
}

}  // namespace lumigrab
