// The codec on the typing path: the editor text of a novel, about 1,000,000
// characters of Chinese prose with ASCII, punctuation and paragraph breaks.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "core/gbk_codec.h"

namespace {

std::u16string novelText() {
  // A fixed pseudo-random mix: mostly common ideographs (double-byte), some
  // ASCII words and digits, full-width punctuation, a paragraph break now and
  // then; no characters beyond GBK (those are rare in real prose).
  static const std::u16string ideographs =
      u"的一是在不了有和人这中大为上个国我以要他时来用们生到作地于出就分对成会可主发年动同工也能下过子说产种面而方后多定行学法所民得经十三之进着等部度家电力里如水化高自二理起小物现实加量都两体制机当使点从业本去把性好应开它合还因由其些然前外天政四日那社义事平形相全表间样与关各重新线内数正心反你明看原又么利比或但质气第向道命此变条只没结解问意建月公无系军很情者最立代想已通并提直题党程展五果料象员革位入常文总次品式活设及管特件长求老头基资边流路级少图山统接知较将组见计别她手角期根论运农指几九区强放决西被干做必战先回则任取据处理府研";
  static const std::u16string punctuation = u"，。、；：？！“”《》（）…　";
  std::u16string text;
  text.reserve(1'000'100);
  std::uint32_t state = 936;
  auto next = [&state] {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  };
  while (text.size() < 1'000'000) {
    const std::uint32_t r = next() % 100;
    if (r < 75) {
      text += ideographs[next() % ideographs.size()];
    } else if (r < 85) {
      text += punctuation[next() % punctuation.size()];
    } else if (r < 98) {
      text += static_cast<char16_t>(u'a' + next() % 26);
      if (next() % 4 == 0) text += u' ';
    } else if (r < 99) {
      text += static_cast<char16_t>(u'0' + next() % 10);
    } else {
      text += u'\n';
    }
  }
  return text;
}

const std::u16string& novel() {
  static const std::u16string text = novelText();
  return text;
}

void BM_FromUtf16(benchmark::State& state) {
  const std::u16string& text = novel();
  for (auto _ : state) {
    std::string bytes = penvox::gbk::fromUtf16(text);
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_FromUtf16)->Unit(benchmark::kMillisecond);

void BM_ToUtf16(benchmark::State& state) {
  const std::string bytes = penvox::gbk::fromUtf16(novel());
  for (auto _ : state) {
    std::u16string text = penvox::gbk::toUtf16(bytes);
    benchmark::DoNotOptimize(text.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * novel().size()));
}
BENCHMARK(BM_ToUtf16)->Unit(benchmark::kMillisecond);

void BM_EditorByteOffsetAtEnd(benchmark::State& state) {
  const std::u16string& text = novel();
  for (auto _ : state) {
    std::size_t offset = penvox::gbk::editorByteOffset(text, text.size());
    benchmark::DoNotOptimize(offset);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_EditorByteOffsetAtEnd)->Unit(benchmark::kMillisecond);

void BM_EditorIndexOfByteAtEnd(benchmark::State& state) {
  const std::u16string& text = novel();
  const std::size_t end = penvox::gbk::editorByteOffset(text, text.size());
  for (auto _ : state) {
    std::size_t index = penvox::gbk::editorIndexOfByte(text, end);
    benchmark::DoNotOptimize(index);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_EditorIndexOfByteAtEnd)->Unit(benchmark::kMillisecond);

}  // namespace
