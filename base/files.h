#pragma once
// Files on disk and in memory, with the modes and results the program's
// logic relies on. No operation reports an error: a file that could not be
// opened is the null FileObject, and every operation accepts it (writes give
// false, lengths -1, reads empty values).

#include <cstdint>
#include <memory>
#include <optional>

#include "base/text.h"

namespace lumigrab {

// What a FileObject is underneath: a disk file or a memory buffer. The
// operations are those of a positioned byte stream.
class FileStorage {
 public:
  virtual ~FileStorage() = default;
  // Up to count bytes from the position; the position moves past them.
  virtual Bytes Read(std::int64_t count) = 0;
  // Writes over what is at the position; the position moves past them.
  virtual bool Write(const std::uint8_t* data, std::size_t size) = 0;
  virtual std::int64_t Size() = 0;
  virtual std::int64_t Position() = 0;
  virtual bool Seek(std::int64_t position) = 0;
};

class FileObject {
 public:
  FileObject() = default;  // the null file
  explicit FileObject(std::unique_ptr<FileStorage> storage)
      : storage_(std::move(storage)) {}

  bool IsNull() const { return storage_ == nullptr; }
  explicit operator bool() const { return !IsNull(); }
  FileStorage* Storage() const { return storage_.get(); }
  void Reset() { storage_.reset(); }

 private:
  std::unique_ptr<FileStorage> storage_;
};

// Open modes: 1 read existing, 2 write existing, 3 (and omitted, and any other
// value) read and write existing, 4 create or replace for writing, 5 write,
// creating when missing, 6 read and write, creating when missing.
// Share modes: 1 (and omitted, and any other value) others may read and
// write, 2 write only, 3 read only, 4 no sharing.
FileObject OpenFile(const Text& path, std::optional<int> openMode = kOmitted,
                    std::optional<int> shareMode = kOmitted);

// The access, creation and share flags (CreateFileA values) for the modes.
struct OpenFlags {
  std::uint32_t access;
  std::uint32_t creation;
  std::uint32_t share;
};
OpenFlags OpenFlagsFor(std::optional<int> openMode, std::optional<int> shareMode);

// An empty memory file at position 0, with room for 1024 bytes to start.
FileObject OpenMemoryFile();

// Size in bytes, low 32 bits; -1 for the null file.
std::int32_t FileLength(const FileObject& file);

// Bytes read from the position; empty on failure or a count of 0 or less.
Bytes ReadBytes(FileObject& file, std::int32_t count);

// Writes raw bytes at the position; false at the first failed write.
bool WriteRaw(FileObject& file, std::string_view bytes);
// Inserts bytes at the position, moving what followed behind them.
bool InsertRaw(FileObject& file, std::string_view bytes);

// Writes each argument's bytes in turn; false at the first failed write.
template <typename... Values>
bool WriteBytes(FileObject& file, const Values&... values) {
  return (WriteRaw(file, std::string_view(
                             reinterpret_cast<const char*>(values.data()),
                             values.size())) && ...);
}

// Writes each argument as text (ToText for numbers), without terminator or
// line break; false at the first failed write.
template <typename... Values>
bool WriteText(FileObject& file, const Values&... values) {
  return (WriteRaw(file, ToText(values)) && ...);
}

// Inserts each argument as text at the position; on a file filled from its
// start this appends.
template <typename... Values>
bool InsertText(FileObject& file, const Values&... values) {
  return (InsertRaw(file, ToText(values)) && ...);
}

bool SeekToStart(FileObject& file);

// Text from the position up to the first zero byte or 0x1A (the stopping
// byte is not consumed), at most count bytes when a count is given; a count
// of 0 or less gives the empty text.
Text ReadText(FileObject& file, std::optional<std::int32_t> count = kOmitted);

// Closes the file or frees the buffer; the object is null afterwards.
void CloseFile(FileObject& file);

// n zero bytes; empty for n of 0 or less.
Bytes ZeroBytes(std::int32_t n);

// The program's directory, without a trailing backslash.
Text ExeDir();
// A path cut at its last backslash (removed); a path without one whole.
Text DirectoryOfPath(std::string_view path);

// True when the path names an existing file or folder.
bool FileExists(const Text& path);

}  // namespace lumigrab
