// The platform floor for the image reader's benchmark: bare sequential
// WinINet GETs (open, request, read, close) of the addresses in a file, with
// no worker thread and no message loop. Prints the seconds and bytes.
// Usage: wininet_floor URL-FILE [READ-SIZE]   (READ-SIZE defaults to 1024)

#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: wininet_floor URL-FILE [READ-SIZE]\n");
    return 2;
  }
  std::ifstream file(argv[1]);
  std::vector<std::string> urls;
  for (std::string line; std::getline(file, line);) {
    if (!line.empty()) urls.push_back(line);
  }
  const DWORD readSize = argc > 2 ? static_cast<DWORD>(std::atoi(argv[2])) : 1024;
  std::vector<char> buffer(readSize);

  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  long long total = 0;
  int failed = 0;
  for (const std::string& url : urls) {
    char host[256] = {}, path[2048] = {};
    URL_COMPONENTSA parts{};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = sizeof host;
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = sizeof path;
    if (!InternetCrackUrlA(url.c_str(), 0, 0, &parts)) {
      ++failed;
      continue;
    }
    HINTERNET internet = InternetOpenA(nullptr, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    HINTERNET connection = InternetConnectA(internet, host, parts.nPort, nullptr, nullptr,
                                            INTERNET_SERVICE_HTTP, 0, 0);
    // The image reader's own flags, so both fill the same URL cache.
    HINTERNET request = HttpOpenRequestA(connection, "GET", path, "HTTP/1.1", nullptr, nullptr,
                                         INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP |
                                             INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS |
                                             INTERNET_FLAG_HYPERLINK,
                                         0);
    long long got = 0;
    if (request && HttpSendRequestA(request, nullptr, 0, nullptr, 0)) {
      DWORD count = 0;
      while (InternetReadFile(request, buffer.data(), readSize, &count) && count > 0) got += count;
    }
    if (got == 0) ++failed;
    total += got;
    if (request) InternetCloseHandle(request);
    if (connection) InternetCloseHandle(connection);
    if (internet) InternetCloseHandle(internet);
  }
  QueryPerformanceCounter(&end);
  std::printf("%.3f s %lld bytes %d failed\n",
              static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart, total,
              failed);
  return failed == 0 ? 0 : 1;
}
