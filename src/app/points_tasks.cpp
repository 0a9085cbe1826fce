// The task refresh of the points system: lists the fifteen tasks, pays each
// once (daily tasks once a day, beginner tasks once ever), keeps the total
// encrypted and shows the title the total has reached.
#include "app/colours.h"
#include "app/gbk_text.h"
#include "app/main_window.h"
#include "app/settings_panel.h"
#include "app/texts.h"
#include "core/points_rules.h"
#include "core/text_cipher.h"

#include <QLabel>
#include <QTreeWidget>

namespace penvox {

void MainWindow::storePointsTotal() {
    state_.pointsFile.writeBytes(QStringLiteral("运行情况"), QStringLiteral("运行"),
                                 cipher::encrypt(std::to_string(state_.pointsTotal), toGbk(state_.fixedKeyText)));
}

void MainWindow::refreshTasks() {
    QTreeWidget* list = panel_->taskList;
    list->clear();
    const SettingsFile& settings = state_.settings;
    for (const points::Task& task : points::tasks()) {
        const QString today = state_.todayStamp();
        const QString marker = task.daily ? today : texts::kTrue;
        const bool done = settings.text(QString::fromUtf8(task.section), QString::fromUtf8(task.activityKey)) == marker;
        const QString text = QString::fromStdString(done ? points::doneText(task) : std::string(task.notDoneText));
        const int position = std::min(done ? task.donePosition : task.notDonePosition, list->topLevelItemCount());
        list->insertTopLevelItem(position, new QTreeWidgetItem(QStringList{text}));
        if (!done) continue;
        const QString rewardSection = QString::fromUtf8(task.rewardSection);
        const QString rewardKey = QString::fromUtf8(task.rewardKey);
        if (settings.text(rewardSection, rewardKey) == marker) continue;
        const int earned =
            task.daily && points::isFiveFoldDay(state_.platform.now().weekday) ? task.fiveFoldPoints : task.points;
        // The total is a 32-bit value and wraps as one.
        state_.pointsTotal = static_cast<std::int32_t>(static_cast<std::uint32_t>(state_.pointsTotal) +
                                                       static_cast<std::uint32_t>(earned));
        storePointsTotal();
        settings.write(rewardSection, rewardKey, marker);
        panel_->pointsLabel->setText(texts::kPointsPrefix + QString::number(state_.pointsTotal));
        panel_->pointsLabel->adjustSize();
    }
    for (const points::Title& title : points::titles()) {
        if (state_.pointsTotal < title.threshold) continue;
        panel_->titleLabel->setText(QString::fromUtf8(title.text));
        panel_->titleLabel->adjustSize();
        if (title.colour) {
            QPalette colours = panel_->titleLabel->palette();
            colours.setColor(QPalette::WindowText, colourFromValue(*title.colour));
            panel_->titleLabel->setPalette(colours);
        }
    }
}

}  // namespace penvox
