#include "base/files.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace lumigrab {
namespace {

class MemoryStorage final : public FileStorage {
 public:
  MemoryStorage() { buffer_.reserve(1024); }

  Bytes Read(std::int64_t count) override {
    const std::size_t available = buffer_.size() - position_;
    const std::size_t n = static_cast<std::size_t>(
        std::clamp<std::int64_t>(count, 0, static_cast<std::int64_t>(available)));
    Bytes out(buffer_.begin() + static_cast<std::ptrdiff_t>(position_),
              buffer_.begin() + static_cast<std::ptrdiff_t>(position_ + n));
    position_ += n;
    return out;
  }

  bool Write(const std::uint8_t* data, std::size_t size) override {
    if (position_ + size > buffer_.size()) buffer_.resize(position_ + size);
    if (size != 0) std::memcpy(buffer_.data() + position_, data, size);
    position_ += size;
    return true;
  }

  std::int64_t Size() override { return static_cast<std::int64_t>(buffer_.size()); }
  std::int64_t Position() override { return static_cast<std::int64_t>(position_); }

  bool Seek(std::int64_t position) override {
    if (position < 0 || position > Size()) return false;
    position_ = static_cast<std::size_t>(position);
    return true;
  }

 private:
  std::vector<std::uint8_t> buffer_;
  std::size_t position_ = 0;
};

}  // namespace

OpenFlags OpenFlagsFor(std::optional<int> openMode, std::optional<int> shareMode) {
  // CreateFileA's values, spelled out so this half needs no Windows headers.
  constexpr std::uint32_t kRead = 0x80000000u, kWrite = 0x40000000u;
  constexpr std::uint32_t kCreateAlways = 2, kOpenExisting = 3, kOpenAlways = 4;
  constexpr std::uint32_t kShareRead = 1, kShareWrite = 2;
  OpenFlags flags{};
  switch (openMode.value_or(3)) {
    case 1: flags = {kRead, kOpenExisting, 0}; break;
    case 2: flags = {kWrite, kOpenExisting, 0}; break;
    case 4: flags = {kWrite, kCreateAlways, 0}; break;
    case 5: flags = {kWrite, kOpenAlways, 0}; break;
    case 6: flags = {kRead | kWrite, kOpenAlways, 0}; break;
    default: flags = {kRead | kWrite, kOpenExisting, 0}; break;
  }
  switch (shareMode.value_or(1)) {
    case 2: flags.share = kShareWrite; break;
    case 3: flags.share = kShareRead; break;
    case 4: flags.share = 0; break;
    default: flags.share = kShareRead | kShareWrite; break;
  }
  return flags;
}

FileObject OpenMemoryFile() {
  return FileObject(std::make_unique<MemoryStorage>());
}

std::int32_t FileLength(const FileObject& file) {
  if (file.IsNull()) return -1;
  // Low 32 bits, as the program has always reported it.
  return static_cast<std::int32_t>(
      static_cast<std::uint32_t>(file.Storage()->Size() & 0xFFFFFFFF));
}

Bytes ReadBytes(FileObject& file, std::int32_t count) {
  if (file.IsNull() || count <= 0) return {};
  return file.Storage()->Read(count);
}

bool WriteRaw(FileObject& file, std::string_view bytes) {
  if (file.IsNull()) return false;
  if (bytes.empty()) return true;
  return file.Storage()->Write(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                               bytes.size());
}

bool InsertRaw(FileObject& file, std::string_view bytes) {
  if (file.IsNull()) return false;
  if (bytes.empty()) return true;
  FileStorage& s = *file.Storage();
  const std::int64_t at = s.Position();
  const Bytes tail = s.Read(s.Size() - at);
  if (!s.Seek(at)) return false;
  if (!s.Write(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()))
    return false;
  if (!tail.empty() && !s.Write(tail.data(), tail.size())) return false;
  return s.Seek(at + static_cast<std::int64_t>(bytes.size()));
}

bool SeekToStart(FileObject& file) {
  return !file.IsNull() && file.Storage()->Seek(0);
}

Text ReadText(FileObject& file, std::optional<std::int32_t> count) {
  if (file.IsNull()) return {};
  if (count.has_value() && *count <= 0) return {};
  FileStorage& s = *file.Storage();
  const std::int64_t at = s.Position();
  const std::int64_t wanted = count.has_value() ? *count : s.Size() - at;
  const Bytes bytes = s.Read(wanted);
  std::size_t n = 0;
  while (n < bytes.size() && bytes[n] != 0 && bytes[n] != 0x1A) ++n;
  // The stopping byte is read again by the next call.
  s.Seek(at + static_cast<std::int64_t>(n));
  return Text(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
}

void CloseFile(FileObject& file) { file.Reset(); }

Bytes ZeroBytes(std::int32_t n) {
  if (n <= 0) return {};
  return Bytes(static_cast<std::size_t>(n), 0);
}

Text DirectoryOfPath(std::string_view path) {
  const std::size_t slash = path.rfind('\\');
  if (slash == std::string_view::npos) return Text(path);
  return Text(path.substr(0, slash));
}

}  // namespace lumigrab
