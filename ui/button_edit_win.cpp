#include "base/gbk_literals.h"
#include "ui/container_hook.h"
#include "ui/controls.h"

namespace lumigrab {
namespace {

// The style bits of a button kind; nullopt for an unknown one.
std::optional<DWORD> ButtonKindBits(std::int32_t kind) {
  switch (kind) {
    case 0: return BS_PUSHBUTTON;
    case 1: return BS_DEFPUSHBUTTON;
    default: return std::nullopt;
  }
}

// The style bits of an edit kind; nullopt for an unknown one.
std::optional<DWORD> EditKindBits(std::int32_t kind) {
  switch (kind) {
    case 32:  // one line that scrolls sideways while typing
      return ES_WANTRETURN | WS_TABSTOP | ES_AUTOHSCROLL | ES_NOHIDESEL;
    case 33:  // several lines with a vertical scroll bar
      return WS_TABSTOP | ES_MULTILINE | WS_VSCROLL | ES_AUTOVSCROLL | ES_NOHIDESEL;
    case 34:  // one line, characters hidden
      return ES_WANTRETURN | WS_TABSTOP | ES_PASSWORD | ES_NOHIDESEL;
    default:
      return std::nullopt;
  }
}

constexpr std::uint32_t kWhite = 0xFFFFFF;

}  // namespace

std::unique_ptr<Control> Button::Copy() const { return std::unique_ptr<Control>(new Button(*this)); }

HWND Button::Create(HWND parent, const ButtonArguments& arguments) {
  if (IsCreated()) return window_;
  const std::optional<DWORD> kind = ButtonKindBits(arguments.kind.value_or(0));
  if (!kind) return nullptr;
  const std::int32_t left = arguments.left.value_or(0);
  const std::int32_t top = arguments.top.value_or(0);
  const std::int32_t width = arguments.width.value_or(80);
  const std::int32_t height = arguments.height.value_or(32);
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | arguments.extraStyle.value_or(0) | *kind;
  HWND window = CreateControlWindow(
      {"BUTTON", 0, arguments.text.value_or(gbk::kDefaultButtonText), style, left, top, width,
       height, parent},
      window_, buttonIndex_);
  if (window == nullptr) return nullptr;
  AttachWindow(left, top, width, height, 1, window, buttonIndex_);
  FinishControlCreation(buttonIndex_, window, /*isStatic=*/false);
  return window;
}

void Button::SetClickHandler(EventHandler handler) {
  ControlRecords().SetHandler(buttonIndex_, &ControlRecord::clickHandler, std::move(handler));
}

void Button::SetGotFocusHandler(EventHandler handler) {
  ControlRecords().SetHandler(buttonIndex_, &ControlRecord::gotFocusHandler, std::move(handler));
}

void Button::SetLostFocusHandler(EventHandler handler) {
  ControlRecords().SetHandler(buttonIndex_, &ControlRecord::lostFocusHandler, std::move(handler));
}

std::unique_ptr<Control> EditBox::Copy() const { return std::unique_ptr<Control>(new EditBox(*this)); }

HWND EditBox::Create(HWND parent, const EditBoxArguments& arguments) {
  if (IsCreated()) return window_;
  const std::optional<DWORD> kind = EditKindBits(arguments.kind.value_or(32));
  if (!kind) return nullptr;
  const std::int32_t left = arguments.left.value_or(0);
  const std::int32_t top = arguments.top.value_or(0);
  const std::int32_t width = arguments.width.value_or(80);
  const std::int32_t height = arguments.height.value_or(24);
  DWORD style = arguments.alignmentStyle.value_or(0) | WS_CHILD | WS_VISIBLE |
                arguments.extraStyle.value_or(0) | *kind;
  if (arguments.readOnly.value_or(false)) style |= ES_READONLY;
  if (arguments.verticalScrollBar.value_or(false)) style |= WS_VSCROLL;
  if (arguments.horizontalScrollBar.value_or(false)) style |= WS_HSCROLL;
  HWND window = CreateControlWindow({"Edit", WS_EX_CLIENTEDGE, arguments.text.value_or(Text()),
                                     style, left, top, width, height, parent},
                                    window_, editIndex_);
  if (window == nullptr) return nullptr;
  AttachWindow(left, top, width, height, 1, window, editIndex_);
  SetColors(kWhite, 0);
  FinishControlCreation(editIndex_, window, /*isStatic=*/false);
  return window;
}

Text EditBox::Content(std::optional<Text> text) { return WindowText(std::move(text)); }

void EditBox::SetReadOnly(std::int32_t value) {
  SendMessageA(window_, EM_SETREADONLY, value == 1 ? 1 : 0, 0);
}

void EditBox::SetColors(std::optional<std::uint32_t> background,
                        std::optional<std::uint32_t> text) {
  SetRecordColors(editIndex_, background.value_or(kWhite), text.value_or(0));
  InvalidateRect(window_, nullptr, TRUE);
}

void EditBox::SetChangeHandler(EventHandler handler) {
  ControlRecords().SetHandler(editIndex_, &ControlRecord::changeHandler, std::move(handler));
}

void EditBox::SetUpdateHandler(EventHandler handler) {
  ControlRecords().SetHandler(editIndex_, &ControlRecord::updateHandler, std::move(handler));
}

void EditBox::SetGotFocusHandler(EventHandler handler) {
  ControlRecords().SetHandler(editIndex_, &ControlRecord::gotFocusHandler, std::move(handler));
}

void EditBox::SetLostFocusHandler(EventHandler handler) {
  ControlRecords().SetHandler(editIndex_, &ControlRecord::lostFocusHandler, std::move(handler));
}

}  // namespace lumigrab
