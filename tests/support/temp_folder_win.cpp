#include "tests/support/temp_folder.h"

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <vector>

namespace lumigrab::testing {
namespace {

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((path + "\\*").c_str(), &found);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string child = path + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(h, &found));
    FindClose(h);
  }
  RemoveDirectoryA(path.c_str());
}

void Collect(const std::string& root, const std::string& relative,
             std::vector<std::string>& out) {
  WIN32_FIND_DATAA found;
  const std::string here = relative.empty() ? root : root + "\\" + relative;
  HANDLE h = FindFirstFileA((here + "\\*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    const std::string rel = relative.empty() ? name : relative + "\\" + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      out.push_back(rel + "\\");
      Collect(root, rel, out);
    } else {
      out.push_back(rel);
    }
  } while (FindNextFileA(h, &found));
  FindClose(h);
}

}  // namespace

TempFolder::TempFolder() {
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  static int counter = 0;
  path_ = std::string(base) + "lumigrab-test-" + std::to_string(GetCurrentProcessId()) +
          "-" + std::to_string(++counter);
  if (!path_.empty() && path_.back() == '\\') path_.pop_back();
  RemoveTree(path_);
  CreateDirectoryA(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() { RemoveTree(path_); }

std::string ListTree(const std::string& folder) {
  std::vector<std::string> entries;
  Collect(folder, "", entries);
  std::sort(entries.begin(), entries.end());
  std::string out;
  for (const std::string& e : entries) out += e + "\n";
  return out;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<missing>";
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace lumigrab::testing
