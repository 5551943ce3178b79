#include <windows.h>
#include <wincrypt.h>

#include "base/files.h"
#include "export/export_record.h"
#include "export/naming.h"

namespace lumigrab {
namespace {

// Releases what Md5Hex acquired, innermost first, on every path.
struct CryptContext {
  HCRYPTPROV provider = 0;
  HCRYPTHASH hash = 0;
  ~CryptContext() {
    if (hash != 0) CryptDestroyHash(hash);
    if (provider != 0) CryptReleaseContext(provider, 0);
  }
};

}  // namespace

Text Md5Hex(const Bytes& bytes) {
  CryptContext c;
  if (!CryptAcquireContextA(&c.provider, nullptr, nullptr, PROV_RSA_FULL,
                            CRYPT_VERIFYCONTEXT) &&
      !CryptAcquireContextA(&c.provider, nullptr, nullptr, PROV_RSA_FULL, 0)) {
    c.provider = 0;
    return {};
  }
  if (!CryptCreateHash(c.provider, CALG_MD5, 0, 0, &c.hash)) {
    c.hash = 0;
    return {};
  }
  if (!CryptHashData(c.hash, bytes.data(), static_cast<DWORD>(bytes.size()), 0)) {
    return {};
  }
  BYTE digest[16];
  DWORD size = sizeof digest;
  if (!CryptGetHashParam(c.hash, HP_HASHVAL, digest, &size, 0) || size != 16) {
    return {};
  }
  static constexpr char kDigits[] = "0123456789ABCDEF";
  Text hex;
  for (const BYTE b : digest) {
    hex += kDigits[b >> 4];
    hex += kDigits[b & 15];
  }
  return ToLowerText(hex);
}

Text ScrambleText(std::string_view text, std::string_view key) {
  return ScrambleWithDigest(text, Md5Hex(TextToBytes(key)));
}

void WriteExportRecord(const Text& folder, const Text& address) {
  const Text t1 = TimeStamp("");
  const Text record = BuildExportRecord(ScrambleText(t1 + "Lumigrab", kRecordKey),
                                        ScrambleText(address, kRecordKey));
  // Taken anew: the name may show the next second if one passed meanwhile.
  const Text t2 = TimeStamp("");
  FileObject file = OpenFile(RecordFilePath(folder, t2), 4, 1);
  (void)WriteText(file, record);  // a record that cannot be written is skipped
  CloseFile(file);
}

}  // namespace lumigrab
