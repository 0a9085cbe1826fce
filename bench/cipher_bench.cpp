// The text cipher on a large encrypted document: 10 MB of GBK prose encrypted
// on save and decrypted on open.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "core/gbk_codec.h"
#include "core/text_cipher.h"

namespace {

constexpr std::size_t kBytes = 10 * 1024 * 1024;
const std::string kKeyText = "qmv517362840\xC3\xDC\xC2\xEB";  // the prefix and 密码 in GBK

const std::string& documentText() {
  static const std::string text = [] {
    const std::string line = penvox::gbk::fromUtf8("春眠不觉晓，处处闻啼鸟。夜来风雨声，花落知多少。Chapter 1\r\n");
    std::string t;
    t.reserve(kBytes + line.size());
    while (t.size() < kBytes) t += line;
    t.resize(kBytes);
    return t;
  }();
  return text;
}

void BM_Encrypt(benchmark::State& state) {
  const std::string& text = documentText();
  for (auto _ : state) {
    std::string cipher = penvox::cipher::encrypt(text, kKeyText);
    benchmark::DoNotOptimize(cipher.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_Encrypt)->Unit(benchmark::kMillisecond);

void BM_Decrypt(benchmark::State& state) {
  const std::string cipher = penvox::cipher::encrypt(documentText(), kKeyText);
  for (auto _ : state) {
    std::string text = penvox::cipher::decrypt(cipher, kKeyText);
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(cipher.size()));
}
BENCHMARK(BM_Decrypt)->Unit(benchmark::kMillisecond);

void BM_LooksLikeText(benchmark::State& state) {
  const std::string& text = documentText();
  for (auto _ : state) benchmark::DoNotOptimize(penvox::cipher::looksLikeText(text));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_LooksLikeText)->Unit(benchmark::kMillisecond);

}  // namespace
