#pragma once
// A fresh folder under the system's temporary folder, removed with its
// contents at the end of the test (Windows tests only).

#include <string>

namespace lumigrab::testing {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // Without a trailing backslash.
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

// Every file and folder below the folder, as paths relative to it, sorted.
std::string ListTree(const std::string& folder);

// The bytes of a file, or "<missing>".
std::string ReadWholeFile(const std::string& path);

}  // namespace lumigrab::testing
