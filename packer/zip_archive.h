#pragma once
// A writer of standard zip archives: one entry after another, each deflated
// when that makes it smaller and stored otherwise, names in UTF-8 with the
// language-encoding flag set, then the central directory. No zip64: the
// writer refuses what would need it rather than write a broken archive.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "base/text.h"

namespace lumigrab {

// Where the archive's bytes go, in order.
class ArchiveSink {
 public:
  virtual ~ArchiveSink() = default;
  virtual bool Write(const std::uint8_t* data, std::size_t size) = 0;
};

// A local date and time as zip entries keep it: two-second steps, years
// 1980 to 2107. Earlier times become 1980-01-01 00:00:00, later ones
// 2107-12-31 23:59:58.
struct DosDateTime {
  std::uint16_t time = 0;
  std::uint16_t date = (1 << 5) | 1;  // 1980-01-01
  bool operator==(const DosDateTime&) const = default;
};
DosDateTime ToDosDateTime(int year, int month, int day, int hour, int minute,
                          int second);

// The limits of an archive without zip64.
inline constexpr std::size_t kMaxZipEntries = 0xFFFF;
inline constexpr std::uint64_t kMaxZipEntrySize = 0xFFFFFFFE;

class ZipWriter {
 public:
  explicit ZipWriter(ArchiveSink& sink) : sink_(sink) {}

  // Appends one entry. False (and Error() says why) when the sink fails,
  // zlib fails, or a limit would be passed; after a failure the writer
  // writes nothing more.
  bool AddEntry(std::string_view utf8Name, std::span<const std::uint8_t> data,
                DosDateTime modified);
  // Writes the central directory and its end record.
  bool Finish();

  const Text& Error() const { return error_; }
  std::size_t EntryCount() const { return entries_.size(); }

 private:
  struct Entry {
    Text name;
    std::uint16_t method;
    DosDateTime modified;
    std::uint32_t crc;
    std::uint32_t compressedSize;
    std::uint32_t size;
    std::uint32_t offset;
  };

  bool Fail(Text why);
  bool Put(const Bytes& bytes);

  ArchiveSink& sink_;
  std::vector<Entry> entries_;
  std::uint64_t written_ = 0;
  bool failed_ = false;
  Text error_;
};

// Raw deflate (no zlib header) of the data, as zip's method 8 keeps it.
// Stops and gives nothing once the output reaches giveUpAt bytes, since
// the data will be stored then; also nothing when zlib fails.
std::optional<Bytes> DeflateRaw(std::span<const std::uint8_t> data,
                                std::size_t giveUpAt);

}  // namespace lumigrab
