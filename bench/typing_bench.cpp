// What one typed character costs: the whole text-changed handling of the real
// main window (offscreen) for texts of 10 000 to 1 000 000 characters, with
// and without the backup copy, beside a plain copy of the same text.
#include "app/main_window.h"
#include "app/settings_panel.h"
#include "app/texts.h"
#include "platform/fake_platform.h"

#include <QApplication>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

// Mixed Chinese prose: ideographs, punctuation, some ASCII and digits, a break now and then.
QString novelText(int characters) {
    static const QString sample = QStringLiteral(
        "夜色渐深，窗外的雨还没有停。他合上书，望着桌上那盏旧台灯，想起2019年的冬天。"
        "Chapter 3: 雪落无声。她说：“我们明天再走吧。”\n");
    QString text;
    text.reserve(characters);
    while (text.size() < characters) text += sample;
    text.truncate(characters);
    return text;
}

struct Window {
    explicit Window(int characters, bool backup) {
        penvox::SettingsFile(dir.path() + QStringLiteral("/setting.ini"))
            .write(QStringLiteral("文本设置"), QStringLiteral("first"), penvox::texts::kTrue);
        window = std::make_unique<penvox::MainWindow>(platform, penvox::RunPlaces{dir.path(), dir.path()});
        window->start();
        window->startCommand();
        window->settingsPanel()->autoSave->setChecked(backup);
        window->editorBox->setPlainText(novelText(characters));
        window->textChanged();  // the day's milestones are recorded once
    }
    penvox::FakePlatform platform;
    QTemporaryDir dir;
    std::unique_ptr<penvox::MainWindow> window;
};

// `flushed` also waits for the copy to reach the disk, which the writer's own
// thread otherwise does while the writer goes on typing.
void textChanged(benchmark::State& state, bool backup, bool flushed = false) {
    Window w(static_cast<int>(state.range(0)), backup);
    QTextCursor cursor(w.window->editorBox->document());
    cursor.movePosition(QTextCursor::End);
    for (auto _ : state) {
        state.PauseTiming();
        cursor.insertText(QStringLiteral("字"));  // one typed character (its own handler run is not timed)
        state.ResumeTiming();
        w.window->textChanged();
        if (flushed) w.window->flushBackups();
    }
    w.window->flushBackups();
}

void BM_TextChanged(benchmark::State& state) { textChanged(state, false); }
void BM_TextChangedWithBackup(benchmark::State& state) { textChanged(state, true); }
void BM_TextChangedWithBackupOnDisk(benchmark::State& state) { textChanged(state, true, true); }

void BM_CopyText(benchmark::State& state) {
    const QString text = novelText(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::u16string copy(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
        benchmark::DoNotOptimize(copy.data());
    }
}

}  // namespace

BENCHMARK(BM_TextChanged)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextChangedWithBackup)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextChangedWithBackupOnDisk)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyText)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
