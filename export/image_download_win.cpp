#include "export/image_download.h"

#include "base/files.h"
#include "export/naming.h"
#include "net/web_read.h"

namespace lumigrab {

void SaveImageList(const Text& folder, const TextArray& list,
                   std::string_view prefix) {
  for (int i = 1; i <= list.Count(); ++i) {
    const Text& address = list[i];
    const Text extension = UrlExtension(address);
    const Text name = ImageFilePath(folder, prefix, i, TimeStamp("yyMMddhhmmss"),
                                    extension);
    // An extension taken from the address may hold a slash or a colon: such a
    // name would write through a subfolder or into a stream of another file.
    FileObject file =
        StaysInFolder(extension) ? OpenFile(name, 4, 1) : FileObject();
    const Bytes bytes = WebRead(address);
    (void)WriteBytes(file, bytes);  // a file that could not be made drops them
    CloseFile(file);
  }
}

}  // namespace lumigrab
