#pragma once
// Owners of GDI handles, so every return path releases what it made.

#include <windows.h>

#include <memory>
#include <type_traits>

namespace lumigrab {

struct GdiObjectDeleter {
  template <typename T>
  void operator()(T* object) const {
    DeleteObject(reinterpret_cast<HGDIOBJ>(object));
  }
};

// A brush, bitmap, font or region that is deleted with the owner.
template <typename Handle>
using UniqueGdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;

// A GDI object several owners share; deleted when the last one lets go.
template <typename Handle>
using SharedGdiObject = std::shared_ptr<std::remove_pointer_t<Handle>>;

template <typename Handle>
SharedGdiObject<Handle> ShareGdiObject(Handle object) {
  if (object == nullptr) return nullptr;
  return SharedGdiObject<Handle>(object, GdiObjectDeleter{});
}

struct MemoryDcDeleter {
  void operator()(HDC dc) const { DeleteDC(dc); }
};

// A memory device context made by CreateCompatibleDC.
using UniqueMemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, MemoryDcDeleter>;

// A window's (or with no window, the screen's) device context from GetDC,
// released with the owner.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects an object into a device context and puts the previous one back,
// so the object can be deleted (or selected elsewhere) afterwards.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace lumigrab
