// Throughput of the comparison core: reading two identical files from
// memory, cutting them into pieces, comparing and echoing into a null sink.
// Bytes processed counts the input of both files.
#include <sys/mman.h>
#include <unistd.h>

#include <memory>
#include <random>
#include <string>

#include "app/compare.h"
#include "benchmark/benchmark.h"

namespace {

// Deterministic text: lines of printable characters whose lengths are spread
// around `average`, `total` bytes in all.
std::string make_text(size_t total, size_t average) {
  std::mt19937 random(42);
  std::uniform_int_distribution<size_t> length(average / 2, average + average / 2);
  std::uniform_int_distribution<int> letter(' ', '~');
  std::string text;
  text.reserve(total + 2 * average);
  while (text.size() < total) {
    for (size_t n = length(random); n > 0; --n) text += static_cast<char>(letter(random));
    text += '\n';
  }
  return text;
}

int memory_file(const std::string& content) {
  int fd = memfd_create("bench", 0);
  size_t done = 0;
  while (done < content.size()) {
    ssize_t n = write(fd, content.data() + done, content.size() - done);
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  return fd;
}

void BM_CompareIdentical(benchmark::State& state) {
  const std::string text = make_text(64u << 20, static_cast<size_t>(state.range(0)));
  int a = memory_file(text);
  int b = memory_file(text);
  auto echo = std::make_unique<tavorin::EchoBuffer>(-1);
  for (auto _ : state) {
    lseek(a, 0, SEEK_SET);
    lseek(b, 0, SEEK_SET);
    auto first = std::make_unique<tavorin::LineReader>(a);
    auto second = std::make_unique<tavorin::LineReader>(b);
    tavorin::Comparison result = tavorin::compare_files(*first, *second, *echo);
    benchmark::DoNotOptimize(result);
    echo->Flush();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(2 * text.size()));
  close(a);
  close(b);
}
BENCHMARK(BM_CompareIdentical)->Arg(60)->Arg(3000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
