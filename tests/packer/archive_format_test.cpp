// The packer's portable half: which names and paths it accepts, DOS times,
// and the archive writer's limits and failures.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstring>

#include "packer/archive_names.h"
#include "packer/zip_archive.h"

namespace lumigrab {
namespace {

TEST(ArchiveEntryName, KeepsPlainNamesAndRefusesPathsAndDevices) {
  struct Case {
    const char* name;
    bool accepted;
  };
  const Case cases[] = {
      {"\xE4\xBA\xA7\xE5\x93\x81\xE5\x9B\xBE" "1_202401021234.jpg", true},  // 产品图1_…
      {"A1.ac.txt", true},
      {"a..b.jpg", true},  // dots inside a name go nowhere
      {".hidden", true},
      {"", false},
      {".", false},
      {"..", false},
      {"../evil.jpg", false},
      {"..\\evil.jpg", false},
      {"/etc/passwd", false},
      {"\\evil.jpg", false},
      {"C:evil.jpg", false},        // drive-relative
      {"a.jpg:stream", false},      // alternate data stream
      {"tab\there.jpg", false},
      {"del\x7F.jpg", false},
      {"\xB2\xFA\xC6\xB7.jpg", false},   // GBK bytes, not UTF-8
      {"\xC0\xAE\xC0\xAE", false},       // overlong "..": must not pass as text
      {"\xED\xA0\x80.jpg", false},       // a surrogate
      {"\xE4\xBA", false},               // cut short
  };
  for (const Case& c : cases) {
    const auto name = ArchiveEntryName(c.name);
    EXPECT_EQ(name.has_value(), c.accepted) << '"' << c.name << '"';
    if (name) {
      EXPECT_EQ(*name, c.name);
    }
  }
}

TEST(IsDirectlyInsideFolder, OnlyAPlainNameRightInsideTheFolder) {
  const char* temp = "C:\\Apps\\Lumigrab\\temp";
  struct Case {
    const char* path;
    bool inside;
  };
  const Case cases[] = {
      {"C:\\Apps\\Lumigrab\\temp\\A1.zip", true},
      {"c:\\apps\\LUMIGRAB\\Temp\\A1.zip", true},  // Windows ignores letter case
      {"C:\\Apps\\Lumigrab\\temp\\.zip", true},    // the empty folder name's archive
      {"C:\\Apps\\Lumigrab\\A1.zip", false},
      {"C:\\Apps\\Lumigrab\\temp", false},
      {"C:\\Apps\\Lumigrab\\temp\\", false},
      {"C:\\Apps\\Lumigrab\\temp\\sub\\A1.zip", false},
      {"C:\\Apps\\Lumigrab\\temp\\..", false},
      {"C:\\Apps\\Lumigrab\\temporary\\A1.zip", false},
      {"C:\\Apps\\Lumigrab\\tem\\A1.zip", false},
      {"C:\\Apps\\Lumigrab\\temp\\A1.zip:hidden", false},
      {"\\\\?\\C:\\Apps\\Lumigrab\\temp\\A1.zip", false},
      {"D:\\Apps\\Lumigrab\\temp\\A1.zip", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsDirectlyInsideFolder(c.path, temp), c.inside) << c.path;
  }
  EXPECT_FALSE(IsDirectlyInsideFolder("C:\\x.zip", ""));
}

TEST(ToDosDateTime, TwoSecondStepsAndClampedYears) {
  struct Case {
    int year, month, day, hour, minute, second;
    std::uint16_t date, time;
  };
  const Case cases[] = {
      {2024, 1, 2, 12, 34, 56, (44 << 9) | (1 << 5) | 2, (12 << 11) | (34 << 5) | 28},
      {2024, 1, 2, 12, 34, 57, (44 << 9) | (1 << 5) | 2, (12 << 11) | (34 << 5) | 28},
      {1980, 1, 1, 0, 0, 0, (0 << 9) | (1 << 5) | 1, 0},
      {1979, 12, 31, 23, 59, 59, (0 << 9) | (1 << 5) | 1, 0},
      {2107, 12, 31, 23, 59, 59, (127 << 9) | (12 << 5) | 31, (23 << 11) | (59 << 5) | 29},
      {2200, 6, 1, 8, 0, 0, (127 << 9) | (12 << 5) | 31, (23 << 11) | (59 << 5) | 29},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToDosDateTime(c.year, c.month, c.day, c.hour, c.minute, c.second),
              (DosDateTime{c.time, c.date}))
        << c.year << "-" << c.month << "-" << c.day;
  }
}

class MemorySink final : public ArchiveSink {
 public:
  explicit MemorySink(std::size_t failAfter = SIZE_MAX) : failAfter_(failAfter) {}
  bool Write(const std::uint8_t* data, std::size_t size) override {
    ++writes;
    if (bytes.size() + size > failAfter_) return false;
    bytes.insert(bytes.end(), data, data + size);
    return true;
  }
  Bytes bytes;
  int writes = 0;

 private:
  std::size_t failAfter_;
};

Bytes Repeated(const char* text, int times) {
  Bytes out;
  for (int i = 0; i < times; ++i) out.insert(out.end(), text, text + std::strlen(text));
  return out;
}

TEST(DeflateRaw, InflatesBackAndGivesUpOnceTooLong) {
  const Bytes text = Repeated("Lumigrab record line\r\n", 400);
  const auto deflated = DeflateRaw(text, text.size());
  ASSERT_TRUE(deflated);
  EXPECT_LT(deflated->size(), text.size() / 10);

  z_stream stream{};
  ASSERT_EQ(inflateInit2(&stream, -MAX_WBITS), Z_OK);
  Bytes back(text.size() + 16);
  stream.next_in = const_cast<Bytef*>(deflated->data());
  stream.avail_in = static_cast<uInt>(deflated->size());
  stream.next_out = back.data();
  stream.avail_out = static_cast<uInt>(back.size());
  EXPECT_EQ(inflate(&stream, Z_FINISH), Z_STREAM_END);
  back.resize(stream.total_out);
  inflateEnd(&stream);
  EXPECT_EQ(back, text);

  EXPECT_FALSE(DeflateRaw(text, 8)) << "should stop once the output reaches the limit";
}

TEST(ZipWriter, AFailedWriteStopsTheArchive) {
  const Bytes data = Repeated("x", 100);
  MemorySink sink(40);  // room for one local header, not its data
  ZipWriter writer(sink);
  EXPECT_FALSE(writer.AddEntry("a.txt", data, {}));
  EXPECT_EQ(writer.Error(), "writing the archive failed");
  const int writesSoFar = sink.writes;
  EXPECT_FALSE(writer.AddEntry("b.txt", data, {}));
  EXPECT_FALSE(writer.Finish());
  EXPECT_EQ(sink.writes, writesSoFar) << "wrote on after a failure";
}

TEST(ZipWriter, RefusesWhatWouldNeedZip64) {
  MemorySink sink;
  ZipWriter writer(sink);
  for (std::size_t i = 0; i < kMaxZipEntries; ++i) {
    ASSERT_TRUE(writer.AddEntry(std::to_string(i) + ".f", {}, {})) << i;
  }
  EXPECT_FALSE(writer.AddEntry("one too many", {}, {}));
  EXPECT_EQ(writer.Error(), "more than 65535 files");

  MemorySink other;
  ZipWriter names(other);
  EXPECT_FALSE(names.AddEntry(Text(0x10000, 'n'), {}, {}));
  EXPECT_FALSE(names.AddEntry("", {}, {}));
}

TEST(ZipWriter, EmptyArchiveIsTheEndRecordAlone) {
  MemorySink sink;
  ZipWriter writer(sink);
  ASSERT_TRUE(writer.Finish());
  const Bytes expected = {0x50, 0x4B, 0x05, 0x06, 0, 0, 0, 0, 0, 0, 0,
                          0,    0,    0,    0,    0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(sink.bytes, expected);
}

}  // namespace
}  // namespace lumigrab
