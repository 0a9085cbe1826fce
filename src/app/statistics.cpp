// The statistics handler: every change of the editor's text recounts it,
// updates status-bar pane 0 and the statistics window, writes the backup copy
// and records the day's milestones.
#include "app/main_window.h"
#include "app/pane_status_bar.h"
#include "app/stats_window.h"
#include "app/texts.h"
#include "core/points_rules.h"
#include "core/text_stats.h"

#include <QApplication>
#include <QPlainTextEdit>

namespace penvox {

namespace {
struct Milestone {
    const char16_t* key;
    long long threshold;
};
// The key named for twenty thousand is set past twenty thousand.
constexpr Milestone kMilestones[] = {{u"1000字", 1000}, {u"8000字", 8000}, {u"20000字", 20000}, {u"100000字", 100000}};
}  // namespace

void MainWindow::textChanged() {
    const QString plain = editorBox->toPlainText();
    const std::u16string_view text(reinterpret_cast<const char16_t*>(plain.utf16()), static_cast<std::size_t>(plain.size()));
    const stats::Counts counts = stats::count(text);

    statusBar->setPaneText(0, QString::fromUtf8(stats::kStatusPrefix) + QString::number(counts.current));
    stats_->breakdown->setPlainText(points::detailedStatisticsAllowed(state_.pointsTotal)
                                        ? QString::fromStdString(stats::breakdown(counts))
                                        : QStringLiteral("您需要积分达到0点才能有资格使用详细的文字统计"));
    writeBackup(plain);

    if (state_.openedDocumentFlag != 0) return;  // opened documents earn no milestones
    const QString today = state_.todayStamp();
    const QString section = QStringLiteral("软件设置");
    long long milestoneCount = -1;
    for (const Milestone& milestone : kMilestones) {
        const QString key = QString::fromUtf16(milestone.key);
        if (state_.settings.text(section, key) == today) continue;
        if (milestoneCount < 0) milestoneCount = stats::milestoneCount(text);
        if (milestoneCount > milestone.threshold) state_.settings.write(section, key, today);
    }
}

void MainWindow::openStatsWindow() {
    stats_->show();
    stats_->raise();
}

}  // namespace penvox
