// The statistics on the typing path: every change of the editor's text
// recounts the whole text. BM_Count is what the editor runs (the one-pass
// count and the milestone count on the editor's text); BM_CountByMatcher is the
// definition through the regular-expression matcher on the program's GBK text.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "core/gbk_codec.h"
#include "core/text_stats.h"

namespace {

// A fixed pseudo-random mix of `length` UTF-16 units: mostly common ideographs,
// full-width punctuation, ASCII words and digits, a paragraph break now and
// then, and a rare character beyond GBK.
std::u16string chineseText(std::size_t length) {
  static const std::u16string ideographs =
      u"的一是在不了有和人这中大为上个国我以要他时来用们生到作地于出就分对成会可主发年动同工也能下过子说产种面而方后多定行学法所民得经十三之进着等部度家电力里如水化高自二理起小物现实加量都两体制机当使点从业本去把性好应开它合还因由其些然前外天政四日那社义事平形相全表间样与关各重新线内数正心反你明看原又么利比或但质气第向道命此变条只没结解问意建月公无系军很情者最立代想已通并提直题党程展五果料象员革位入常文总次品式活设及管特件长求老头基资边流路级少图山统接知较将组见计别她手角期根论运农指几九区强放决西被干做必战先回则任取据处理府研";
  static const std::u16string punctuation = u"，。、；：？！“”《》（）…　";
  std::u16string text;
  text.reserve(length + 2);
  std::uint32_t state = 936;
  auto next = [&state] {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  };
  while (text.size() < length) {
    const std::uint32_t r = next() % 1000;
    if (r < 750) {
      text += ideographs[next() % ideographs.size()];
    } else if (r < 850) {
      text += punctuation[next() % punctuation.size()];
    } else if (r < 975) {
      text += static_cast<char16_t>((next() % 8 == 0 ? u'A' : u'a') + next() % 26);
      if (next() % 4 == 0) text += u' ';
    } else if (r < 988) {
      text += static_cast<char16_t>(u'0' + next() % 10);
    } else if (r < 999) {
      text += u'\n';
    } else {
      text += u"😀";
    }
  }
  text.resize(length);
  if (!text.empty() && text.back() >= 0xD800 && text.back() <= 0xDBFF) text.back() = u'字';
  return text;
}

std::string programForm(std::u16string_view editorText) {
  std::u16string withBreaks;
  for (const char16_t c : editorText) {
    if (c == u'\n') withBreaks += u'\r';
    withBreaks += c;
  }
  return penvox::gbk::fromUtf16(withBreaks);
}

void BM_Count(benchmark::State& state) {
  const std::u16string text = chineseText(static_cast<std::size_t>(state.range(0)));
  penvox::stats::count(u"");  // the class table is built once per process, not timed
  for (auto _ : state) {
    const penvox::stats::Counts counts = penvox::stats::count(text);
    const long long milestone = penvox::stats::milestoneCount(text);
    benchmark::DoNotOptimize(counts);
    benchmark::DoNotOptimize(milestone);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_Count)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

void BM_CountByMatcher(benchmark::State& state) {
  const std::string text = programForm(chineseText(static_cast<std::size_t>(state.range(0))));
  for (auto _ : state) {
    const penvox::stats::Counts counts = penvox::stats::countByMatcher(text);
    const long long milestone = penvox::stats::milestoneCountOf(text);
    benchmark::DoNotOptimize(counts);
    benchmark::DoNotOptimize(milestone);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_CountByMatcher)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

}  // namespace
