#include <windows.h>

#include "base/clock.h"

namespace lumigrab {

DateTime SystemLocalTime() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return MakeDateTime(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
}

std::uint32_t TickCount() { return GetTickCount(); }

}  // namespace lumigrab
