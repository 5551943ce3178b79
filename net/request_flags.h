#pragma once
// WinINet's published values of the request flags and access types that the
// two request routines choose, so the choice itself is plain logic that is
// tested without Windows. The _win files check them against <wininet.h>.

#include <cstdint>

namespace lumigrab::inet {

inline constexpr std::uint32_t kFlagReload = 0x80000000;
inline constexpr std::uint32_t kFlagSecure = 0x00800000;
inline constexpr std::uint32_t kFlagNoAutoRedirect = 0x00200000;
inline constexpr std::uint32_t kFlagNoCookies = 0x00080000;
inline constexpr std::uint32_t kFlagIgnoreRedirectToHttp = 0x00008000;
inline constexpr std::uint32_t kFlagIgnoreRedirectToHttps = 0x00004000;
inline constexpr std::uint32_t kFlagIgnoreCertDateInvalid = 0x00002000;
inline constexpr std::uint32_t kFlagIgnoreCertCnInvalid = 0x00001000;
inline constexpr std::uint32_t kFlagHyperlink = 0x00000400;
inline constexpr std::uint32_t kFlagNeedFile = 0x00000010;

inline constexpr std::uint32_t kOpenTypePreconfig = 0;
inline constexpr std::uint32_t kOpenTypeDirect = 1;
inline constexpr std::uint32_t kOpenTypeProxy = 3;

}  // namespace lumigrab::inet
