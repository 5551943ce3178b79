#include <windows.h>
#include <shlwapi.h>

#include <algorithm>

#include "base/files.h"

namespace lumigrab {
namespace {

class DiskStorage final : public FileStorage {
 public:
  explicit DiskStorage(HANDLE handle) : handle_(handle) {}
  ~DiskStorage() override { CloseHandle(handle_); }
  DiskStorage(const DiskStorage&) = delete;
  DiskStorage& operator=(const DiskStorage&) = delete;

  Bytes Read(std::int64_t count) override {
    if (count <= 0) return {};
    // One ReadFile moves at most 4 GiB; the program never reads more.
    const DWORD wanted = static_cast<DWORD>(std::min<std::int64_t>(count, 0x7FFFFFFF));
    Bytes out(wanted);
    DWORD got = 0;
    if (!ReadFile(handle_, out.data(), wanted, &got, nullptr)) got = 0;
    out.resize(got);
    return out;
  }

  bool Write(const std::uint8_t* data, std::size_t size) override {
    DWORD written = 0;
    return WriteFile(handle_, data, static_cast<DWORD>(size), &written, nullptr) &&
           written == size;
  }

  std::int64_t Size() override {
    LARGE_INTEGER size{};
    return GetFileSizeEx(handle_, &size) ? size.QuadPart : 0;
  }

  std::int64_t Position() override {
    LARGE_INTEGER zero{}, now{};
    return SetFilePointerEx(handle_, zero, &now, FILE_CURRENT) ? now.QuadPart : 0;
  }

  bool Seek(std::int64_t position) override {
    LARGE_INTEGER to{};
    to.QuadPart = position;
    return SetFilePointerEx(handle_, to, nullptr, FILE_BEGIN) != 0;
  }

 private:
  HANDLE handle_;
};

}  // namespace

FileObject OpenFile(const Text& path, std::optional<int> openMode,
                    std::optional<int> shareMode) {
  const OpenFlags flags = OpenFlagsFor(openMode, shareMode);
  HANDLE handle = CreateFileA(path.c_str(), flags.access, flags.share, nullptr,
                              flags.creation, FILE_ATTRIBUTE_ARCHIVE, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return FileObject();
  return FileObject(std::make_unique<DiskStorage>(handle));
}

Text ExeDir() {
  char path[MAX_PATH + 1] = {};
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return DirectoryOfPath(std::string_view(path, n));
}

bool FileExists(const Text& path) { return PathFileExistsA(path.c_str()) != FALSE; }

}  // namespace lumigrab
