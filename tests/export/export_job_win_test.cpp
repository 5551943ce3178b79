// One export from address to finished folder, in this process, against the
// demo shop: the files, their names and bytes, the record, the page copy,
// the controls and the completion box.
#include <winsock2.h>
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>
#include <vector>

#include "base/files.h"
#include "base/gbk_literals.h"
#include "export/export_job.h"
#include "export/naming.h"
#include "tests/support/temp_folder.h"

namespace lumigrab {
namespace {

using testing::ListTree;
using testing::ReadWholeFile;

std::string ShopFile(const char* name) {
  const char* dir = std::getenv("LUMIGRAB_SHOP_DIR");
  return ReadWholeFile(std::string(dir != nullptr ? dir : "") + "/" + name);
}

int ShopPort() { return std::atoi(ShopFile("port").c_str()); }

std::string ShopBase() { return "http://127.0.0.1:" + std::to_string(ShopPort()); }

// A GET over plain Winsock, apart from the code under test: the body.
std::string ShopGet(const std::string& path) {
  WSADATA wsa;
  WSAStartup(MAKEWORD(2, 2), &wsa);
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(static_cast<u_short>(ShopPort()));
  to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string reply;
  if (connect(s, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0) {
    const std::string request =
        "GET " + path + " HTTP/1.0\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
    send(s, request.data(), static_cast<int>(request.size()), 0);
    char buffer[8192];
    for (int n; (n = recv(s, buffer, sizeof buffer, 0)) > 0;) reply.append(buffer, n);
  }
  closesocket(s);
  const std::size_t body = reply.find("\r\n\r\n");
  return body == std::string::npos ? "" : reply.substr(body + 4);
}

std::set<std::string> Lines(const std::string& text) {
  std::set<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.insert(line);
  return lines;
}

// The host the main window would be: the address, the controls' state and
// the order in which the job used them.
class TestHost final : public ExportHost {
 public:
  explicit TestHost(std::string address) : address_(std::move(address)) {}
  Text ReadAddress() override {
    Log("read");
    return address_;
  }
  void SetExportControlsEnabled(bool enabled) override {
    Log(enabled ? "enabled" : "disabled");
  }
  bool StartedWithAddress() override { return false; }
  void Log(const std::string& event) {
    std::lock_guard lock(mutex_);
    events_.push_back(event);
  }
  std::vector<std::string> Events() {
    std::lock_guard lock(mutex_);
    return events_;
  }

 private:
  std::string address_;
  std::mutex mutex_;
  std::vector<std::string> events_;
};

std::set<DWORD> ProcessesNamed(const char* name) {
  std::set<DWORD> ids;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more;
       more = Process32Next(snapshot, &entry)) {
    if (lstrcmpiA(entry.szExeFile, name) == 0) ids.insert(entry.th32ProcessID);
  }
  CloseHandle(snapshot);
  return ids;
}

struct Completion {
  std::string boxText;
  bool boxHadIcon = false;
  bool fileManagerStarted = false;
};

// Runs the export with the host while another thread watches for the
// completion box, notes it in the host's log, reads it and presses OK. The
// file manager it starts is ended again, so no window of it stays behind.
Completion RunWatched(TestHost& host) {
  const std::set<DWORD> explorersBefore = ProcessesNamed("explorer.exe");
  Completion completion;
  std::atomic<bool> done{false};
  std::thread watcher([&] {
    while (!done) {
      HWND box = FindWindowA(nullptr, "mission accomplished");
      DWORD pid = 0;
      if (box != nullptr) GetWindowThreadProcessId(box, &pid);
      if (box != nullptr && pid == GetCurrentProcessId() && IsWindowVisible(box)) {
        char text[256] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        completion.boxText = text;
        completion.boxHadIcon =
            GetDlgItem(box, 0x14) != nullptr || GetDlgItem(box, 0x440) != nullptr;
        host.Log("box");
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return;
      }
      Sleep(20);
    }
  });
  RunExport(host);
  done = true;
  watcher.join();
  for (int i = 0; i < 100 && !completion.fileManagerStarted; ++i) {
    for (DWORD id : ProcessesNamed("explorer.exe")) {
      if (explorersBefore.count(id) != 0) continue;
      completion.fileManagerStarted = true;
      HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
      if (p != nullptr) {
        TerminateProcess(p, 0);
        WaitForSingleObject(p, 5000);
        CloseHandle(p);
      }
    }
    if (!completion.fileManagerStarted) Sleep(50);
  }
  return completion;
}

// "<prefix><index>_<12 digits><extension>"
bool IsImageName(const std::string& name, const std::string& prefix, int index,
                 const std::string& extension) {
  const std::string head = prefix + std::to_string(index) + "_";
  if (name.size() != head.size() + 12 + extension.size()) return false;
  if (name.compare(0, head.size(), head) != 0) return false;
  for (std::size_t i = head.size(); i < head.size() + 12; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(name[i]))) return false;
  }
  return name.compare(head.size() + 12, std::string::npos, extension) == 0;
}

// The files directly in a folder.
std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (FindNextFileA(h, &found));
  FindClose(h);
  return names;
}

std::string Find(const std::vector<std::string>& names, const std::string& prefix,
                 int index, const std::string& extension) {
  for (const std::string& n : names) {
    if (IsImageName(n, prefix, index, extension)) return n;
  }
  return "";
}

// The newest page copy in the temporary folder.
std::string NewestPageCopy() {
  const Text temp = TempFolderPath();
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((temp + "lmg????.html").c_str(), &found);
  std::string newest;
  FILETIME newestTime{};
  if (h == INVALID_HANDLE_VALUE) return "";
  do {
    if (CompareFileTime(&found.ftLastWriteTime, &newestTime) >= 0) {
      newestTime = found.ftLastWriteTime;
      newest = temp + found.cFileName;
    }
  } while (FindNextFileA(h, &found));
  FindClose(h);
  return newest;
}

// Everything below the program's folder except Output.
std::string TreeOutsideOutput() {
  std::string kept;
  std::istringstream in(ListTree(ExeDir()));
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("Output\\", 0) != 0) kept += line + "\n";
  }
  return kept;
}

class ExportJobTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_GT(ShopPort(), 0) << "the demo shop is not running";
    outside_ = TreeOutsideOutput();
  }
  void TearDown() override { EXPECT_EQ(TreeOutsideOutput(), outside_); }

  std::string outside_;
};

TEST_F(ExportJobTest, SavesEveryPictureUnderItsName) {
  const std::string address = ShopBase() + "/item/odd.htm";
  const std::string folder = ExeDir() + "\\Output\\ODD-1";
  const std::string old = ListTree(folder);
  TestHost host(address);
  const Completion completion = RunWatched(host);

  // The controls go off first and come back only after the box is closed;
  // the address is read at the start and again for the record.
  EXPECT_EQ(host.Events(),
            (std::vector<std::string>{"disabled", "read", "read", "box", "enabled"}));
  EXPECT_EQ(completion.boxText, "Export completed.");
  EXPECT_TRUE(completion.boxHadIcon);
  EXPECT_TRUE(completion.fileManagerStarted);

  const std::vector<std::string> all = FilesIn(folder);
  std::vector<std::string> names;
  for (const std::string& n : all) {
    if (old.find(n) == std::string::npos) names.push_back(n);  // this export's
  }
  const std::string d = gbk::kDescriptionImagePrefix;
  const std::string m = gbk::kMainImagePrefix;
  const struct {
    std::string prefix;
    int index;
    std::string extension;
    std::string bytes;
  } expected[] = {
      {d, 1, ".png", ShopGet("/img/k1024-d2.png")},
      {m, 1, ".png", ShopGet("/img/k1024-m1.png")},
      {m, 2, ".png", ShopGet("/img/missing.png")},  // the server's error page
      {m, 3, ".png", ""},                             // no answer: empty file
      {m, 4, ".png", ShopGet("/img/k1024-m1.png")},   // the same address again
      {m, 5, "", ShopGet("/img/noext")},              // no dot: no extension
  };
  EXPECT_NE(ShopGet("/img/missing.png").find("404"), std::string::npos);
  for (const auto& e : expected) {
    const std::string name = Find(names, e.prefix, e.index, e.extension);
    ASSERT_FALSE(name.empty()) << e.index;
    EXPECT_EQ(ReadWholeFile(folder + "\\" + name), e.bytes) << e.index;
  }
  // The sixth main picture's extension holds a slash: downloaded, not saved,
  // and no subfolder made for it.
  EXPECT_TRUE(Find(names, m, 6, "").empty());
  const std::set<std::string> requests = Lines(ShopFile("requests.log"));
  EXPECT_EQ(requests.count("GET /img/a.b/c"), 1u);
  EXPECT_EQ(ListTree(folder).find("\\\n"), std::string::npos) << ListTree(folder);

  int records = 0;
  for (const std::string& n : names) {
    if (n.size() == 14 + 7 && n.substr(14) == ".ac.txt") ++records;
  }
  EXPECT_EQ(records, 1);
  EXPECT_EQ(names.size(), 7u);

  // The page copy holds the page bytes exactly.
  EXPECT_EQ(ReadWholeFile(NewestPageCopy()), ShopGet("/item/odd.htm"));
}

TEST_F(ExportJobTest, AnEmptyAddressGivesARecordInOutputAndTheCompletion) {
  const std::string output = ExeDir() + "\\Output";
  const std::vector<std::string> before = FilesIn(output);
  TestHost host("");
  const Completion completion = RunWatched(host);
  EXPECT_EQ(host.Events(),
            (std::vector<std::string>{"disabled", "read", "read", "box", "enabled"}));
  EXPECT_EQ(completion.boxText, "Export completed.");
  std::vector<std::string> added;
  for (const std::string& n : FilesIn(output)) {
    if (std::find(before.begin(), before.end(), n) == before.end()) added.push_back(n);
  }
  ASSERT_EQ(added.size(), 1u);
  EXPECT_EQ(added[0].substr(14), ".ac.txt");
  EXPECT_EQ(ReadWholeFile(NewestPageCopy()), "");
}

}  // namespace
}  // namespace lumigrab
