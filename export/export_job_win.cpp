#include <windows.h>

#include <cwchar>
#include <string>

#include "base/files.h"
#include "base/gbk_literals.h"
#include "base/random.h"
#include "export/completion.h"
#include "export/export_job.h"
#include "export/export_record.h"
#include "export/image_addresses.h"
#include "export/image_download.h"
#include "export/naming.h"
#include "export/product_page.h"
#include "net/web_access.h"

namespace lumigrab {

Text Utf8ToAnsiText(const Bytes& bytes) {
  if (bytes.empty() || bytes.size() > 0x7FFFFFFF) return {};
  const char* utf8 = reinterpret_cast<const char*>(bytes.data());
  const int size = static_cast<int>(bytes.size());
  const int wide = MultiByteToWideChar(CP_UTF8, 0, utf8, size, nullptr, 0);
  if (wide <= 0) return {};
  std::wstring text(static_cast<std::size_t>(wide), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8, size, text.data(), wide);
  // The text ends at its first zero character.
  text.resize(std::wcslen(text.c_str()));
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int ansi = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0,
                                       nullptr, nullptr);
  if (ansi <= 0) return {};
  Text out(static_cast<std::size_t>(ansi), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), length, out.data(), ansi, nullptr,
                      nullptr);
  return out;
}

void RunExport(ExportHost& host) {
  host.SetExportControlsEnabled(false);

  SeedRandom();
  const Text pageFile = TempPageFilePath(TempFolderPath(), RandomNumber(1000, 9999));
  FileObject copy = OpenFile(pageFile, 4, 1);

  const Text address = host.ReadAddress();  // as typed: no trimming
  const Bytes page = WebAccess(address);
  (void)WriteBytes(copy, page);  // kept for the user; never read back
  CloseFile(copy);

  const ProductPage product = ParseProductPage(Utf8ToAnsiText(page));
  const ImageAddressLists images = BuildImageAddressLists(product);

  const Text folder = ExportFolderPath(ExeDir(), product.folderName);
  (void)EnsureFolder(folder);  // a missing folder only loses the files

  SaveImageList(folder, images.descriptionImages, gbk::kDescriptionImagePrefix);
  SaveImageList(folder, images.mainImages, gbk::kMainImagePrefix);

  WriteExportRecord(folder, host.ReadAddress());

  CompleteExport(folder, SafeFolderName(product.folderName),
                 host.StartedWithAddress());
  host.SetExportControlsEnabled(true);
}

}  // namespace lumigrab
