// The image reader's benchmark: WebRead of every address in a file, one
// after the other as the export fetches images. Prints the seconds and
// bytes. Usage: bench_web_read URL-FILE

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "net/web_read.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: bench_web_read URL-FILE\n");
    return 2;
  }
  std::ifstream file(argv[1]);
  std::vector<std::string> urls;
  for (std::string line; std::getline(file, line);) {
    if (!line.empty()) urls.push_back(line);
  }
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  long long total = 0;
  int failed = 0;
  for (const std::string& url : urls) {
    const lumigrab::Bytes body = lumigrab::WebRead(url);
    if (body.empty()) ++failed;
    total += static_cast<long long>(body.size());
  }
  QueryPerformanceCounter(&end);
  std::printf("%.3f s %lld bytes %d failed\n",
              static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart, total,
              failed);
  return failed == 0 ? 0 : 1;
}
