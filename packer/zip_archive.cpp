#include "packer/zip_archive.h"

#include <zlib.h>

#include <algorithm>
#include <optional>

namespace lumigrab {
namespace {

constexpr std::uint32_t kLocalHeaderSignature = 0x04034B50;
constexpr std::uint32_t kCentralHeaderSignature = 0x02014B50;
constexpr std::uint32_t kEndOfCentralDirectorySignature = 0x06054B50;
constexpr std::uint16_t kStored = 0;
constexpr std::uint16_t kDeflated = 8;
// Bit 11: names (and comments) are UTF-8.
constexpr std::uint16_t kLanguageEncodingFlag = 0x0800;
// Made by: VFAT (host 14; MS-DOS attributes with long names), format
// version 2.0. Not host 0 (MS-DOS): Info-ZIP's unzip then converts names
// from the OEM code page even with the UTF-8 flag set. Host 10 (NTFS in
// the format's note) is TOPS-20 to Info-ZIP; 14 means VFAT to both.
constexpr std::uint16_t kVersionMadeBy = (14 << 8) | 20;
constexpr std::uint32_t kArchiveAttribute = 0x20;

void Put16(Bytes& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(Bytes& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) {
    out.push_back(static_cast<std::uint8_t>(value >> shift));
  }
}

void PutText(Bytes& out, std::string_view text) { out.insert(out.end(), text.begin(), text.end()); }

std::uint16_t VersionNeeded(std::uint16_t method) { return method == kDeflated ? 20 : 10; }

std::uint32_t Crc32Of(std::span<const std::uint8_t> data) {
  uLong crc = crc32(0L, Z_NULL, 0);
  // zlib takes at most a uInt at a time.
  constexpr std::size_t kStep = 1u << 30;
  for (std::size_t at = 0; at < data.size(); at += kStep) {
    const std::size_t n = std::min(kStep, data.size() - at);
    crc = crc32(crc, data.data() + at, static_cast<uInt>(n));
  }
  return static_cast<std::uint32_t>(crc);
}

}  // namespace

DosDateTime ToDosDateTime(int year, int month, int day, int hour, int minute,
                          int second) {
  if (year < 1980) return DosDateTime{};
  if (year > 2107) return ToDosDateTime(2107, 12, 31, 23, 59, 58);
  DosDateTime out;
  out.date = static_cast<std::uint16_t>(((year - 1980) << 9) | (month << 5) | day);
  out.time = static_cast<std::uint16_t>((hour << 11) | (minute << 5) | (second / 2));
  return out;
}

std::optional<Bytes> DeflateRaw(std::span<const std::uint8_t> data, std::size_t giveUpAt) {
  z_stream stream{};
  // Negative window bits: raw deflate data, no zlib header or trailer.
  if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8,
                   Z_DEFAULT_STRATEGY) != Z_OK) {
    return std::nullopt;
  }
  Bytes out;
  std::uint8_t chunk[65536];
  std::size_t offered = 0;
  int status = Z_OK;
  while (status == Z_OK) {
    if (stream.avail_in == 0 && offered < data.size()) {
      const std::size_t n = std::min<std::size_t>(data.size() - offered, 1u << 30);
      stream.next_in = const_cast<Bytef*>(data.data() + offered);
      stream.avail_in = static_cast<uInt>(n);
      offered += n;
    }
    stream.next_out = chunk;
    stream.avail_out = sizeof chunk;
    status = deflate(&stream, offered == data.size() ? Z_FINISH : Z_NO_FLUSH);
    if (status == Z_STREAM_ERROR) break;
    out.insert(out.end(), chunk, chunk + (sizeof chunk - stream.avail_out));
    if (out.size() >= giveUpAt) break;
    // Z_BUF_ERROR only says no progress was possible this round; with
    // output room given every round it does not repeat.
    if (status == Z_BUF_ERROR) status = Z_OK;
  }
  deflateEnd(&stream);
  if (status != Z_STREAM_END || out.size() >= giveUpAt) return std::nullopt;
  return out;
}

bool ZipWriter::Fail(Text why) {
  if (!failed_) error_ = std::move(why);
  failed_ = true;
  return false;
}

bool ZipWriter::Put(const Bytes& bytes) {
  if (failed_) return false;
  if (!bytes.empty() && !sink_.Write(bytes.data(), bytes.size())) {
    return Fail("writing the archive failed");
  }
  written_ += bytes.size();
  return true;
}

bool ZipWriter::AddEntry(std::string_view utf8Name, std::span<const std::uint8_t> data,
                         DosDateTime modified) {
  if (failed_) return false;
  if (entries_.size() >= kMaxZipEntries) return Fail("more than 65535 files");
  if (utf8Name.empty() || utf8Name.size() > 0xFFFF) return Fail("an entry name of that length");
  if (data.size() > kMaxZipEntrySize) return Fail("a file of 4 GiB or more");
  if (written_ > 0xFFFFFFFE) return Fail("an archive of 4 GiB or more");

  Entry entry;
  entry.name = Text(utf8Name);
  entry.modified = modified;
  entry.size = static_cast<std::uint32_t>(data.size());
  entry.crc = Crc32Of(data);
  entry.offset = static_cast<std::uint32_t>(written_);

  // Stored unless deflating makes it smaller.
  std::optional<Bytes> deflated;
  if (!data.empty()) {
    deflated = DeflateRaw(data, data.size());
  }
  entry.method = deflated ? kDeflated : kStored;
  entry.compressedSize = static_cast<std::uint32_t>(deflated ? deflated->size() : data.size());

  Bytes header;
  Put32(header, kLocalHeaderSignature);
  Put16(header, VersionNeeded(entry.method));
  Put16(header, kLanguageEncodingFlag);
  Put16(header, entry.method);
  Put16(header, entry.modified.time);
  Put16(header, entry.modified.date);
  Put32(header, entry.crc);
  Put32(header, entry.compressedSize);
  Put32(header, entry.size);
  Put16(header, static_cast<std::uint16_t>(entry.name.size()));
  Put16(header, 0);  // no extra field
  PutText(header, entry.name);
  if (!Put(header)) return false;
  if (deflated) {
    if (!Put(*deflated)) return false;
  } else if (!data.empty()) {
    if (!sink_.Write(data.data(), data.size())) return Fail("writing the archive failed");
    written_ += data.size();
  }
  entries_.push_back(std::move(entry));
  return true;
}

bool ZipWriter::Finish() {
  if (failed_) return false;
  if (written_ > 0xFFFFFFFE) return Fail("an archive of 4 GiB or more");
  const std::uint64_t directoryOffset = written_;
  Bytes directory;
  for (const Entry& entry : entries_) {
    Put32(directory, kCentralHeaderSignature);
    Put16(directory, kVersionMadeBy);
    Put16(directory, VersionNeeded(entry.method));
    Put16(directory, kLanguageEncodingFlag);
    Put16(directory, entry.method);
    Put16(directory, entry.modified.time);
    Put16(directory, entry.modified.date);
    Put32(directory, entry.crc);
    Put32(directory, entry.compressedSize);
    Put32(directory, entry.size);
    Put16(directory, static_cast<std::uint16_t>(entry.name.size()));
    Put16(directory, 0);  // extra field
    Put16(directory, 0);  // comment
    Put16(directory, 0);  // disk number
    Put16(directory, 0);  // internal attributes
    Put32(directory, kArchiveAttribute);
    Put32(directory, entry.offset);
    PutText(directory, entry.name);
  }
  const std::size_t directorySize = directory.size();
  if (directoryOffset + directorySize > 0xFFFFFFFE) {
    return Fail("an archive of 4 GiB or more");
  }
  Put32(directory, kEndOfCentralDirectorySignature);
  Put16(directory, 0);  // this disk
  Put16(directory, 0);  // disk of the directory
  Put16(directory, static_cast<std::uint16_t>(entries_.size()));
  Put16(directory, static_cast<std::uint16_t>(entries_.size()));
  Put32(directory, static_cast<std::uint32_t>(directorySize));
  Put32(directory, static_cast<std::uint32_t>(directoryOffset));
  Put16(directory, 0);  // no comment
  return Put(directory);
}

}  // namespace lumigrab
