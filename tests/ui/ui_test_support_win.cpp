#include "tests/ui/ui_test_support.h"

#include <vector>

#include "base/files.h"
#include "base/process.h"
#include "ui/gdi_handles.h"
#include "ui/window.h"

namespace lumigrab::testing {

bool PumpUntil(const std::function<bool()>& done, int limitMilliseconds) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(limitMilliseconds);
  while (!done()) {
    if (GetTickCount64() > end) return false;
    ProcessEvents();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

void PumpFor(int milliseconds) {
  PumpUntil([] { return false; }, milliseconds);
}

COLORREF PaintedPixel(HWND window, int x, int y) {
  UpdateWindow(window);
  ProcessEvents();
  WindowDc dc(window);
  return GetPixel(dc.get(), x, y);
}

void EndTheMainWindowLoop() {
  static Window first;
  if (MainWindowHandle() != nullptr) return;
  first.Create({.creationHandler =
                    [](std::int32_t, std::int32_t, std::int32_t, std::int32_t) {
                      PostMessageA(first.Handle(), WM_CLOSE, 0, 0);
                    },
                .title = Text("first window"),
                .showMode = 0});
}

bool SaveScreenshot(const Text& path) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  WindowDc screen(nullptr);
  UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
  UniqueGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.get(), width, height));
  {
    SelectedObject selected(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, width, height, screen.get(), 0, 0, SRCCOPY);
  }
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const int stride = (width * 3 + 3) / 4 * 4;
  Bytes pixels(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height));
  if (GetDIBits(memory.get(), bitmap.get(), 0, static_cast<UINT>(height), pixels.data(),
                reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS) == 0) {
    return false;
  }
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
  const auto* fileBytes = reinterpret_cast<const std::uint8_t*>(&file);
  const auto* headerBytes = reinterpret_cast<const std::uint8_t*>(&header);
  FileObject out = OpenFile(path, 4);
  return WriteBytes(out, Bytes(fileBytes, fileBytes + sizeof file),
                    Bytes(headerBytes, headerBytes + sizeof header), pixels);
}

}  // namespace lumigrab::testing
