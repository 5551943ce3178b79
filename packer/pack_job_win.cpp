#include <windows.h>

#include <algorithm>

#include "ipc/unique_handle.h"
#include "packer/archive_names.h"
#include "packer/pack_job.h"
#include "packer/wide_text_win.h"
#include "packer/zip_archive.h"

namespace lumigrab {
namespace {

std::optional<std::wstring> FullPath(const std::wstring& path) {
  if (path.empty()) return std::nullopt;
  const DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (n == 0) return std::nullopt;
  std::wstring full(n, L'\0');
  const DWORD written = GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
  if (written == 0 || written >= n) return std::nullopt;
  full.resize(written);
  // "C:\a\" and "C:\a" are the same folder; "C:\" keeps its backslash.
  while (full.size() > 3 && full.back() == L'\\') full.pop_back();
  return full;
}

class FileSink final : public ArchiveSink {
 public:
  explicit FileSink(HANDLE file) : file_(file) {}
  bool Write(const std::uint8_t* data, std::size_t size) override {
    while (size > 0) {
      const DWORD step = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 24));
      DWORD written = 0;
      if (!WriteFile(file_, data, step, &written, nullptr) || written != step) return false;
      data += step;
      size -= step;
    }
    return true;
  }

 private:
  HANDLE file_;
};

struct LoadedFile {
  Bytes bytes;
  DosDateTime modified;
};

std::optional<LoadedFile> LoadFile(const PlannedFile& planned, Text& why) {
  const Text name = planned.entryName;
  // Not through a link: only the folder's own regular files go in.
  UniqueHandle file(CreateFileW(planned.path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING,
                                FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN,
                                nullptr));
  if (!file) {
    why = "cannot open " + name + " (error " + ToText(static_cast<std::int64_t>(GetLastError())) + ")";
    return std::nullopt;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file.Get(), &info) ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ||
      GetFileType(file.Get()) != FILE_TYPE_DISK) {
    why = name + " is no longer a plain file";
    return std::nullopt;
  }
  const std::uint64_t size =
      (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  if (size > kMaxPackedFileSize) {
    why = name + " is larger than 1 GiB";
    return std::nullopt;
  }
  LoadedFile loaded;
  loaded.bytes.resize(static_cast<std::size_t>(size));
  std::size_t got = 0;
  while (got < loaded.bytes.size()) {
    const DWORD step = static_cast<DWORD>(std::min<std::size_t>(loaded.bytes.size() - got, 1u << 24));
    DWORD n = 0;
    if (!ReadFile(file.Get(), loaded.bytes.data() + got, step, &n, nullptr) || n == 0) break;
    got += n;
  }
  if (got != loaded.bytes.size()) {
    why = "cannot read all of " + name;
    return std::nullopt;
  }
  FILETIME local{};
  SYSTEMTIME time{};
  if (FileTimeToLocalFileTime(&info.ftLastWriteTime, &local) &&
      FileTimeToSystemTime(&local, &time)) {
    loaded.modified = ToDosDateTime(time.wYear, time.wMonth, time.wDay, time.wHour,
                                    time.wMinute, time.wSecond);
  }
  return loaded;
}

}  // namespace

std::optional<PackPlan> PlanPacking(const PackingRequest& request,
                                    const std::wstring& packerFolder, Text& why) {
  PackPlan plan;
  const auto temp = FullPath(packerFolder + L"\\temp");
  const auto archive = FullPath(WideFromAnsi(request.archivePath));
  const Text archiveText = Utf8FromWide(WideFromAnsi(request.archivePath));
  if (!temp || !archive ||
      !IsDirectlyInsideFolder(Utf8FromWide(*archive), Utf8FromWide(*temp))) {
    why = "the archive path \"" + archiveText + "\" is not a file directly inside \"" +
          Utf8FromWide(temp.value_or(L"")) + "\"";
    return std::nullopt;
  }
  plan.archive = *archive;

  const auto folder = FullPath(WideFromAnsi(request.folder));
  const Text folderText = Utf8FromWide(WideFromAnsi(request.folder));
  const DWORD attributes =
      folder ? GetFileAttributesW(folder->c_str()) : INVALID_FILE_ATTRIBUTES;
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    why = "the folder \"" + folderText + "\" does not exist";
    return std::nullopt;
  }
  plan.folder = *folder;

  const std::wstring separator = plan.folder.back() == L'\\' ? L"" : L"\\";
  WIN32_FIND_DATAW entry{};
  HANDLE find = FindFirstFileExW((plan.folder + separator + L"*").c_str(), FindExInfoBasic,
                                 &entry, FindExSearchNameMatch, nullptr, 0);
  if (find == INVALID_HANDLE_VALUE) {
    if (GetLastError() != ERROR_FILE_NOT_FOUND) {
      why = "the folder \"" + folderText + "\" cannot be listed";
      return std::nullopt;
    }
    return plan;  // an empty folder makes an empty archive
  }
  do {
    const std::wstring fileName = entry.cFileName;
    if (fileName == L"." || fileName == L"..") continue;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;  // not a file
    const Text utf8 = Utf8FromWide(fileName);
    if (entry.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) {
      plan.skipped.push_back("skipped \"" + utf8 + "\": a link, not a plain file");
      continue;
    }
    const auto entryName = ArchiveEntryName(utf8);
    if (!entryName) {
      plan.skipped.push_back("skipped a file whose name cannot be an archive entry: \"" +
                             utf8 + "\"");
      continue;
    }
    plan.files.push_back({plan.folder + separator + fileName, *entryName});
  } while (FindNextFileW(find, &entry));
  FindClose(find);
  std::sort(plan.files.begin(), plan.files.end(),
            [](const PlannedFile& a, const PlannedFile& b) { return a.entryName < b.entryName; });
  return plan;
}

bool WriteArchive(const PackPlan& plan, const PackProgress& progress, Text& why) {
  const std::wstring partial =
      plan.archive + L"." + std::to_wstring(GetCurrentProcessId()) + L".part";
  UniqueHandle file(CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    why = "cannot create \"" + Utf8FromWide(partial) + "\" (error " +
          ToText(static_cast<std::int64_t>(GetLastError())) + ")";
    return false;
  }
  const auto abandon = [&](Text reason) {
    why = std::move(reason);
    file.Reset();
    DeleteFileW(partial.c_str());
    return false;
  };

  FileSink sink(file.Get());
  ZipWriter writer(sink);
  const int total = static_cast<int>(plan.files.size());
  for (int i = 0; i < total; ++i) {
    Text failure;
    const auto loaded = LoadFile(plan.files[static_cast<std::size_t>(i)], failure);
    if (!loaded) return abandon(failure);
    if (!writer.AddEntry(plan.files[static_cast<std::size_t>(i)].entryName, loaded->bytes,
                         loaded->modified)) {
      return abandon(writer.Error());
    }
    if (progress && !progress(i + 1, total)) return abandon("cancelled");
  }
  if (!writer.Finish()) return abandon(writer.Error());
  if (!FlushFileBuffers(file.Get())) return abandon("writing the archive failed");
  file.Reset();
  // The archive takes its name only now, whole.
  if (!MoveFileExW(partial.c_str(), plan.archive.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = GetLastError();
    DeleteFileW(partial.c_str());
    why = "cannot rename the finished archive to \"" + Utf8FromWide(plan.archive) +
          "\" (error " + ToText(static_cast<std::int64_t>(error)) + ")";
    return false;
  }
  return true;
}

}  // namespace lumigrab
