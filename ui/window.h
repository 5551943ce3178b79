#pragma once
// The top-level window of the toolkit: the class "MyWindowClass", window
// creation (the first top-level window runs the program's message loop), the
// window procedure that turns messages into the handlers of the window's
// record, background pictures, skins and dragging by any point.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>

#include "base/text.h"
#include "ui/control.h"
#include "ui/window_records.h"

namespace lumigrab {

// WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_DLGFRAME
inline constexpr DWORD kDefaultWindowStyle = 0x004F0000;

// Optional arguments of Window::Create, in their order.
struct WindowArguments {
  std::optional<HWND> parent{};            // none
  WindowEventHandler creationHandler{};    // empty: none
  std::optional<Text> title{};             // "我的窗口"
  std::optional<std::int32_t> left{};      // CW_USEDEFAULT
  std::optional<std::int32_t> top{};       // CW_USEDEFAULT
  std::optional<std::int32_t> width{};     // 380
  std::optional<std::int32_t> height{};    // 250
  std::optional<DWORD> style{};            // the object's style
  std::optional<std::int32_t> showMode{};  // 1: shown at once
  std::optional<DWORD> extraStyle{};       // 0
};

class Window : public Control {
 public:
  Window() = default;
  // Deletes the window's background picture and skin; the window stays.
  ~Window() override;
  std::unique_ptr<Control> Copy() const override;

  // Creates the window, shows it (show mode 1) and then runs the creation
  // handler. A window created without a parent while no main window exists
  // becomes the main window, and Create runs the message loop until it is
  // closed. The window handle, or nullptr when none could be made; a created
  // window's handle is returned again without making a new one.
  virtual HWND Create(const WindowArguments& arguments = {});
  // Releases the background picture and skin, then DestroyWindow.
  virtual std::int32_t Destroy();
  // Pressing the left button anywhere drags the window. 1 when the window
  // has a record, else 0.
  virtual std::int32_t SetDragAnywhere(bool drag);
  // Reshapes the window to the bitmap, with holes where it has the key
  // colour, and paints it with the bitmap from now on. The bitmap stays the
  // caller's and must outlive the window's use of it.
  virtual void SetSkin(HBITMAP bitmap, std::optional<COLORREF> keyColour = kOmitted);
  // Paints the picture behind the client area, stretched (mode 0, the
  // default) or tiled (1). The window owns the picture from now on.
  virtual void SetBackgroundPicture(HBITMAP picture, std::optional<std::int32_t> mode = kOmitted);
  // Without a value: 1 after a successful request to stay on top. With
  // one: asks to stay on top (or not) and returns the new state.
  virtual std::int32_t Topmost(std::optional<bool> topmost = kOmitted);
  // 0 normal, 1 unchanged, 2 minimised, 3 maximised, other values normal;
  // nothing when omitted.
  virtual void SetShowState(std::optional<std::int32_t> state = kOmitted);
  // Each writes the window's record and returns true, or does nothing and
  // returns false when the window has no record.
  virtual bool SetResizedHandler(WindowEventHandler handler);
  virtual bool SetDestroyedHandler(WindowEventHandler handler);
  virtual bool SetLeftDownHandler(WindowEventHandler handler);
  virtual bool SetLeftUpHandler(WindowEventHandler handler);
  virtual bool SetLeftDoubleClickHandler(WindowEventHandler handler);
  virtual bool SetRightDownHandler(WindowEventHandler handler);
  virtual bool SetRightUpHandler(WindowEventHandler handler);
  virtual bool SetMouseMoveHandler(WindowEventHandler handler);
  virtual bool SetGotFocusHandler(WindowEventHandler handler);
  virtual bool SetLostFocusHandler(WindowEventHandler handler);
  virtual bool SetKeyDownHandler(WindowEventHandler handler);
  virtual bool SetKeyUpHandler(WindowEventHandler handler);

  // 1 once Create has shown the window.
  std::int32_t Shown() const { return shown_; }
  DWORD Style() const { return style_; }

 protected:
  Window(const Window&) = default;
  Window& operator=(const Window&) = default;

 private:
  bool SetHandler(WindowRecordHandler field, WindowEventHandler handler);

  std::int32_t shown_ = 0;
  std::int32_t topmost_ = 0;
  DWORD style_ = kDefaultWindowStyle;
  std::int32_t tableIndex_ = 0;
};

// "MyWindowClass" once registered, else empty.
const Text& WindowClassName();
// The first top-level window created without a parent; nullptr until then.
HWND MainWindowHandle();
// The records of every window of the class.
WindowRecordTable& WindowRecords();

// GetMessageA, TranslateMessage and DispatchMessageA until WM_QUIT.
void RunMessageLoop();

}  // namespace lumigrab
