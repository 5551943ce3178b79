// Adds the test server's CA certificate (DER file named on the command
// line) to the Root store of the Wine prefix, so that the https tests can
// tell a trusted, an expired and a misnamed certificate apart. Exit code 0
// on success.

#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: trust_test_ca CA.der\n");
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  const std::vector<BYTE> der((std::istreambuf_iterator<char>(file)),
                              std::istreambuf_iterator<char>());
  if (der.empty()) {
    std::fprintf(stderr, "trust_test_ca: cannot read %s\n", argv[1]);
    return 1;
  }
  if (!CertAddEncodedCertificateToSystemStoreA("Root", der.data(),
                                               static_cast<DWORD>(der.size()))) {
    std::fprintf(stderr, "trust_test_ca: not added, error %lu\n", GetLastError());
    return 1;
  }
  return 0;
}
