#pragma once
// The controls of the toolkit: labels and pictures over the system class
// "Static", push buttons over "BUTTON" and text fields over "Edit". Each is
// a child window of a container that the toolkit hooks (container_hook.h);
// its handlers and colours live in its record there.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>

#include "base/text.h"
#include "ui/control.h"
#include "ui/control_records.h"
#include "ui/gdi_handles.h"

namespace lumigrab {

// Labels and pictures: the handler setters they share.
class StaticControl : public Control {
 public:
  std::unique_ptr<Control> Copy() const override;
  // The record index the handler setters use.
  virtual void SetRecordIndex(std::int32_t index);
  // STN_CLICKED, STN_DBLCLK, STN_DISABLE and STN_ENABLE. Each writes its
  // record when the index is in the table, else does nothing.
  virtual void SetClickHandler(EventHandler handler);
  virtual void SetDoubleClickHandler(EventHandler handler);
  virtual void SetDisabledHandler(EventHandler handler);
  virtual void SetEnabledHandler(EventHandler handler);

 protected:
  std::int32_t staticIndex_ = 0;
};

// Optional arguments of Label::Create, in their order.
struct LabelArguments {
  std::optional<Text> text{};            // "按钮"
  std::optional<std::int32_t> left{};    // 0
  std::optional<std::int32_t> top{};     // 0
  std::optional<std::int32_t> width{};   // 80
  std::optional<std::int32_t> height{};  // 32
  // 20 centred, 21 left, 22 right, 23 centred both ways; default 22.
  std::optional<std::int32_t> alignment{};
  std::optional<DWORD> extraStyle{};     // 0
};

class Label : public StaticControl {
 public:
  std::unique_ptr<Control> Copy() const override;
  // A "Static" child with SS_NOTIFY, painted on the button face in black
  // until SetColors; 0 when no window came or the alignment is unknown.
  virtual HWND Create(HWND parent, const LabelArguments& arguments = {});
  // Writes the colours into the record (background default: the button
  // face, text default: black) and repaints the label with them.
  virtual void SetColors(std::optional<std::uint32_t> background = kOmitted,
                         std::optional<std::uint32_t> text = kOmitted);
  // The label's current text.
  virtual Text Caption();

 private:
  std::int32_t labelIndex_ = 0;
};

// Optional arguments of PictureBox::Create, in their order.
struct PictureBoxArguments {
  std::optional<std::int32_t> left{};    // 0
  std::optional<std::int32_t> top{};     // 0
  std::optional<std::int32_t> width{};   // 80
  std::optional<std::int32_t> height{};  // 32
  std::optional<bool> centreImage{};     // false
  std::optional<DWORD> extraStyle{};     // 0
};

class PictureBox : public StaticControl {
 public:
  // Copies share the bitmap: it is deleted when the last of them lets go.
  std::unique_ptr<Control> Copy() const override;
  // A "Static" SS_BITMAP child with SS_NOTIFY; 0 when no window came.
  virtual HWND Create(HWND parent, const PictureBoxArguments& arguments = {});
  // Shows the bitmap (STM_SETIMAGE) and owns it from now on; the bitmap held
  // so far is deleted.
  virtual void SetBitmap(HBITMAP bitmap);
  // Shows the picture of a whole BMP file (BitmapFromBytes); bytes that are
  // no BMP leave the box empty.
  virtual void SetPicture(const Bytes& bytes);

  HBITMAP Bitmap() const { return bitmap_.get(); }

 private:
  std::int32_t pictureIndex_ = 0;
  SharedGdiObject<HBITMAP> bitmap_;
};

// Optional arguments of Button::Create, in their order.
struct ButtonArguments {
  std::optional<Text> text{};            // "按钮"
  std::optional<std::int32_t> left{};    // 0
  std::optional<std::int32_t> top{};     // 0
  std::optional<std::int32_t> width{};   // 80
  std::optional<std::int32_t> height{};  // 32
  // 0 push button, 1 default push button; default 0.
  std::optional<std::int32_t> kind{};
  std::optional<DWORD> extraStyle{};     // 0
};

class Button : public Control {
 public:
  std::unique_ptr<Control> Copy() const override;
  // 0 when no window came or the kind is unknown.
  virtual HWND Create(HWND parent, const ButtonArguments& arguments = {});
  // BN_CLICKED; and BN_SETFOCUS, BN_KILLFOCUS, which a button sends only
  // with BS_NOTIFY in its extra style.
  virtual void SetClickHandler(EventHandler handler);
  virtual void SetGotFocusHandler(EventHandler handler);
  virtual void SetLostFocusHandler(EventHandler handler);

 private:
  std::int32_t buttonIndex_ = 0;
};

// Optional arguments of EditBox::Create, in their order.
struct EditBoxArguments {
  std::optional<Text> text{};                 // empty
  std::optional<std::int32_t> left{};         // 0
  std::optional<std::int32_t> top{};          // 0
  std::optional<std::int32_t> width{};        // 80
  std::optional<std::int32_t> height{};       // 24
  // 32 single line, 33 several lines, 34 password; default 32.
  std::optional<std::int32_t> kind{};
  std::optional<DWORD> alignmentStyle{};      // 0 (ES_LEFT)
  std::optional<bool> readOnly{};             // false
  std::optional<bool> verticalScrollBar{};    // false
  std::optional<bool> horizontalScrollBar{};  // false
  std::optional<DWORD> extraStyle{};          // 0
};

class EditBox : public Control {
 public:
  std::unique_ptr<Control> Copy() const override;
  // An "Edit" child with a sunken edge, white with black text; 0 when no
  // window came or the kind is unknown.
  virtual HWND Create(HWND parent, const EditBoxArguments& arguments = {});
  // Without a text: the field's text. With one: puts it in and returns it.
  virtual Text Content(std::optional<Text> text = kOmitted);
  // EM_SETREADONLY: read-only only for exactly 1.
  virtual void SetReadOnly(std::int32_t value);
  // Writes the colours into the record (defaults white and black) and
  // repaints the field with them.
  virtual void SetColors(std::optional<std::uint32_t> background = kOmitted,
                         std::optional<std::uint32_t> text = kOmitted);
  // EN_CHANGE, EN_UPDATE, EN_SETFOCUS and EN_KILLFOCUS.
  virtual void SetChangeHandler(EventHandler handler);
  virtual void SetUpdateHandler(EventHandler handler);
  virtual void SetGotFocusHandler(EventHandler handler);
  virtual void SetLostFocusHandler(EventHandler handler);

 private:
  std::int32_t editIndex_ = 0;
};

}  // namespace lumigrab
