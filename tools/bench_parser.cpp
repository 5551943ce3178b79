// Throughput of the page parser and the address lists on realistic product
// pages of about 100 KB, 1 MB and 10 MB. The number of pictures grows with
// the page, so that the description takes about 40 % of it and the
// thumbnail strip about 20 %, the rest being ordinary markup.

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "export/image_addresses.h"
#include "export/product_page.h"
#include "tests/support/page_fixture.h"

namespace {

using lumigrab::BuildImageAddressLists;
using lumigrab::ImageAddressLists;
using lumigrab::ParseProductPage;
using lumigrab::ProductPage;
using lumigrab::testing::MakeProductPage;
using lumigrab::testing::PageShape;

constexpr double kDescriptionShare = 0.40;
constexpr double kStripShare = 0.20;

struct BenchPage {
  std::string html;
  PageShape shape;
};

PageShape ShapeForSize(std::size_t bytes) {
  // Measure what one picture of each kind adds to a page.
  constexpr int kProbe = 200;
  const std::size_t bare = MakeProductPage({0, 0, 0, false, true}).size();
  const std::size_t perDescription =
      (MakeProductPage({kProbe, 0, 0, false, true}).size() - bare) / kProbe;
  const std::size_t perThumbnail =
      (MakeProductPage({0, kProbe, 0, false, true}).size() - bare) / kProbe;

  PageShape shape;
  shape.descriptionImages =
      static_cast<int>(static_cast<double>(bytes) * kDescriptionShare /
                       static_cast<double>(perDescription));
  shape.thumbnails = static_cast<int>(static_cast<double>(bytes) * kStripShare /
                                      static_cast<double>(perThumbnail));
  const std::size_t sections =
      bare +
      static_cast<std::size_t>(shape.descriptionImages) * perDescription +
      static_cast<std::size_t>(shape.thumbnails) * perThumbnail;
  shape.fillerBytes = bytes > sections ? bytes - sections : 0;
  shape.crlf = false;
  shape.withItemNumber = true;
  return shape;
}

// Pages are built once per size, outside the timed loops.
const BenchPage& PageOfSize(std::int64_t bytes) {
  static std::map<std::int64_t, BenchPage> pages;
  auto found = pages.find(bytes);
  if (found == pages.end()) {
    BenchPage page;
    page.shape = ShapeForSize(static_cast<std::size_t>(bytes));
    page.html = MakeProductPage(page.shape);
    found = pages.emplace(bytes, std::move(page)).first;
  }
  return found->second;
}

void Describe(benchmark::State& state, const BenchPage& page,
              std::int64_t bytesPerIteration) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          bytesPerIteration);
  state.counters["page_bytes"] = static_cast<double>(page.html.size());
  state.counters["desc_images"] = page.shape.descriptionImages;
  state.counters["thumbnails"] = page.shape.thumbnails;
}

void BM_ParseAndBuild(benchmark::State& state) {
  const BenchPage& page = PageOfSize(state.range(0));
  for (auto _ : state) {
    const ProductPage parsed = ParseProductPage(page.html);
    ImageAddressLists lists = BuildImageAddressLists(parsed);
    benchmark::DoNotOptimize(lists);
  }
  Describe(state, page, static_cast<std::int64_t>(page.html.size()));
}

void BM_Parse(benchmark::State& state) {
  const BenchPage& page = PageOfSize(state.range(0));
  for (auto _ : state) {
    ProductPage parsed = ParseProductPage(page.html);
    benchmark::DoNotOptimize(parsed);
  }
  Describe(state, page, static_cast<std::int64_t>(page.html.size()));
}

// Bytes are counted against the whole page here as well, so the three
// rates add up like their times.
void BM_Build(benchmark::State& state) {
  const BenchPage& page = PageOfSize(state.range(0));
  const ProductPage parsed = ParseProductPage(page.html);
  for (auto _ : state) {
    ImageAddressLists lists = BuildImageAddressLists(parsed);
    benchmark::DoNotOptimize(lists);
  }
  Describe(state, page, static_cast<std::int64_t>(page.html.size()));
  state.counters["desc_lines"] = parsed.descriptionLines.Count();
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(100 << 10)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_ParseAndBuild)->Apply(Sizes);
BENCHMARK(BM_Parse)->Apply(Sizes);
BENCHMARK(BM_Build)->Apply(Sizes);

}  // namespace

BENCHMARK_MAIN();
