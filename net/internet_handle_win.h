#pragma once
// Ownership of WinINet handles: each one is closed when its owner goes, so
// every return path of a request closes what it opened. Declared in the
// order internet, connection, request, they close request first.

#include <windows.h>
#include <wininet.h>

#include <memory>
#include <type_traits>

namespace lumigrab {

struct InternetHandleCloser {
  void operator()(HINTERNET handle) const { InternetCloseHandle(handle); }
};
using UniqueInternetHandle =
    std::unique_ptr<std::remove_pointer_t<HINTERNET>, InternetHandleCloser>;

}  // namespace lumigrab
