// Archives of the writer, checked by Info-ZIP's unzip and zipinfo (native).
#include <gtest/gtest.h>

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "packer/zip_archive.h"

namespace lumigrab {
namespace {

namespace fs = std::filesystem;

class FileSink final : public ArchiveSink {
 public:
  explicit FileSink(const fs::path& path) : out_(path, std::ios::binary) {}
  bool Write(const std::uint8_t* data, std::size_t size) override {
    out_.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(out_);
  }

 private:
  std::ofstream out_;
};

struct CommandResult {
  int status;
  std::string output;
};

// Runs a shell command in a UTF-8 locale: unzip then shows UTF-8 names as
// they are.
CommandResult RunShell(const std::string& command) {
  const std::string line = "LC_ALL=C.UTF-8 " + command + " 2>&1";
  FILE* pipe = popen(line.c_str(), "r");
  CommandResult result{-1, ""};
  if (pipe == nullptr) return result;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, n);
  const int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

class TempDir {
 public:
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "lumigrab-zip-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempDir() { fs::remove_all(path_); }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

Bytes RandomBytes(std::size_t n) {
  std::mt19937 random(12345);
  Bytes out(n);
  for (auto& b : out) b = static_cast<std::uint8_t>(random());
  return out;
}

Bytes TextBytes(const std::string& text, int times) {
  Bytes out;
  for (int i = 0; i < times; ++i) out.insert(out.end(), text.begin(), text.end());
  return out;
}

struct Entry {
  std::string name;
  Bytes data;
  const char* method;  // as zipinfo names it
};

TEST(ZipArchiveUnzip, EveryEntryIntactWithItsNameAndMethod) {
  if (RunShell("command -v unzip").status != 0) GTEST_SKIP() << "Info-ZIP unzip is not installed";
  const std::vector<Entry> entries = {
      // Pictures do not shrink: stored.
      {"产品图1_202401021234.jpg", RandomBytes(30000), "none (stored)"},
      {"预览图1_202401021234.png", RandomBytes(1), "none (stored)"},
      {"空.txt", {}, "none (stored)"},
      // The record shrinks: deflated.
      {"A1001.ac.txt", TextBytes("@link：https://shop.example/item/1\r\n", 200), "deflated"},
      {"a..b.txt", TextBytes("ab", 300), "deflated"},
  };
  TempDir dir;
  const fs::path archive = dir.Path() / "A1001.zip";
  {
    FileSink sink(archive);
    ZipWriter writer(sink);
    for (const Entry& e : entries) {
      ASSERT_TRUE(writer.AddEntry(e.name, e.data, ToDosDateTime(2024, 1, 2, 12, 34, 56)))
          << writer.Error();
    }
    ASSERT_TRUE(writer.Finish()) << writer.Error();
  }

  const CommandResult test = RunShell("unzip -t " + Quoted(archive.string()));
  EXPECT_EQ(test.status, 0) << test.output;
  EXPECT_NE(test.output.find("No errors detected"), std::string::npos) << test.output;

  std::string names;
  for (const Entry& e : entries) names += e.name + "\n";
  EXPECT_EQ(RunShell("unzip -Z1 " + Quoted(archive.string())).output, names);
  // Python's reader takes a name as UTF-8 only when the entry carries the
  // language-encoding flag (CP437 otherwise), as Windows Explorer does.
  const CommandResult python = RunShell(
      "python3 -c 'import sys, zipfile\n"
      "for i in zipfile.ZipFile(sys.argv[1]).infolist(): print(i.filename)' " +
      Quoted(archive.string()));
  if (python.status != 127) {
    EXPECT_EQ(python.output, names);
  }

  for (const Entry& e : entries) {
    const CommandResult content =
        RunShell("unzip -p " + Quoted(archive.string()) + " " + Quoted(e.name));
    EXPECT_EQ(content.status, 0) << e.name;
    // Compared quietly: a mismatch of 30,000 random bytes says nothing more.
    EXPECT_TRUE(content.output == std::string(e.data.begin(), e.data.end()))
        << e.name << ": " << content.output.size() << " bytes out, " << e.data.size()
        << " in";
  }

  const std::string details = RunShell("zipinfo -v " + Quoted(archive.string())).output;
  std::size_t at = 0;
  for (const Entry& e : entries) {
    at = details.find("compression method:", at);
    ASSERT_NE(at, std::string::npos) << e.name;
    const std::size_t end = details.find('\n', at);
    EXPECT_NE(details.substr(at, end - at).find(e.method), std::string::npos)
        << e.name << ": " << details.substr(at, end - at);
    at = end;
  }
  EXPECT_NE(details.find("2024 Jan 2 12:34:56"), std::string::npos);
}

TEST(ZipArchiveUnzip, EmptyArchiveIsRecognisedAsEmpty) {
  if (RunShell("command -v unzip").status != 0) GTEST_SKIP() << "Info-ZIP unzip is not installed";
  TempDir dir;
  const fs::path archive = dir.Path() / "empty.zip";
  {
    FileSink sink(archive);
    ZipWriter writer(sink);
    ASSERT_TRUE(writer.Finish());
  }
  const CommandResult test = RunShell("unzip -t " + Quoted(archive.string()));
  // Exit code 1 is unzip's warning: "zipfile is empty", not a broken one.
  EXPECT_EQ(test.status, 1) << test.output;
  EXPECT_NE(test.output.find("zipfile is empty"), std::string::npos) << test.output;
}

}  // namespace
}  // namespace lumigrab
