// The task refresh: the fifteen rows in their places, points paid once, the
// total kept encrypted, titles and their colours.
#include "app_harness.h"

#include "app/gbk_text.h"
#include "app/settings_file.h"
#include "app/texts.h"
#include "core/text_cipher.h"

#include <QLabel>
#include <QTreeWidget>

namespace penvox::testing {
namespace {

const QString kSoftware = QStringLiteral("软件设置");

class PointsTest : public AppTest {
protected:
    void SetUp() override { putSetting(QStringLiteral("文本设置"), QStringLiteral("first"), texts::kTrue); }
    QStringList rows() {
        QStringList result;
        auto* list = find<QTreeWidget>(QStringLiteral("超级列表框1"));
        for (int i = 0; i < list->topLevelItemCount(); ++i) result << list->topLevelItem(i)->text(0);
        return result;
    }
    void refresh() { click(QStringLiteral("刷新任务按钮")); }
    QString pointsLabel() { return find<QLabel>(QStringLiteral("积分显示"))->text(); }
    std::string storedTotal() {
        SettingsFile file(workDir.path() + QStringLiteral("/setting.ini"));
        return cipher::decrypt(file.bytes(QStringLiteral("运行情况"), QStringLiteral("运行")), "qmv517362840");
    }
};

TEST_F(PointsTest, FirstRefreshPaysTheDailyStartOnce) {
    platform.setNow(2026, 12, 11);  // a Friday
    startWindow();
    EXPECT_EQ(find<QLabel>(QStringLiteral("称号显示"))->text(), QStringLiteral("称号：至尊等级 写作帝王 Lv.MAX"));
    refresh();
    const QStringList list = rows();
    ASSERT_EQ(list.size(), 15);
    EXPECT_EQ(list[0], QStringLiteral("勤劳蜜蜂 每天打开一次Penvox√完成 +10积分"));
    EXPECT_EQ(list[1], QStringLiteral("日记达人 每天写一篇日记×未完成 +10积分"));
    EXPECT_EQ(window->state().pointsTotal, 10);
    EXPECT_EQ(pointsLabel(), QStringLiteral("当前积分： 10"));
    EXPECT_EQ(storedTotal(), "10");
    EXPECT_EQ(setting(kSoftware, QStringLiteral("最后一登录")), QStringLiteral("20261211"));
    EXPECT_EQ(find<QLabel>(QStringLiteral("称号显示"))->text(), QStringLiteral("称号：积分菜鸟 Lv.1"));

    refresh();
    EXPECT_EQ(window->state().pointsTotal, 10);

    // The next start reads the stored total back through the cipher.
    window->close();
    window.reset();
    startWindow();
    EXPECT_EQ(window->state().pointsTotal, 10);
}

TEST_F(PointsTest, SundayPaysFiveFoldExceptBeginnerTasks) {
    platform.setNow(2026, 12, 13);  // a Sunday
    putSetting(kSoftware, QStringLiteral("新手4"), texts::kTrue);
    putSetting(kSoftware, QStringLiteral("1000字"), QStringLiteral("20261213"));
    startWindow();
    refresh();
    EXPECT_EQ(window->state().pointsTotal, 50 + 50 + 10);
    refresh();
    EXPECT_EQ(window->state().pointsTotal, 110);
    EXPECT_EQ(setting(kSoftware, QStringLiteral("新4")), texts::kTrue);
}

TEST_F(PointsTest, BeginnerTaskPaysOnceEver) {
    putSetting(kSoftware, QStringLiteral("新手2"), texts::kTrue);
    startWindow();
    refresh();
    EXPECT_EQ(window->state().pointsTotal, 10 + 1);
    platform.setNow(2026, 12, 12);  // the next day pays the daily start again, not the beginner task
    putSetting(kSoftware, QStringLiteral("最后一次登录"), window->state().todayStamp());
    refresh();
    EXPECT_EQ(window->state().pointsTotal, 10 + 1 + 10);
}

TEST_F(PointsTest, RowOrderWithNoneAndAllDone) {
    startWindow();
    // Nothing done today: the start-up stamp is from yesterday.
    putSetting(kSoftware, QStringLiteral("最后一次登录"), QStringLiteral("20261210"));
    refresh();
    const QStringList none = rows();
    const QStringList firstWords = [&] {
        QStringList words;
        for (const QString& row : none) words << row.section(QLatin1Char(' '), 0, 0);
        return words;
    }();
    EXPECT_EQ(firstWords, (QStringList{"勤劳蜜蜂", "日记达人", "日写千字", "日写万字", "写作狂人", "写作强者", "写作魔鬼",
                                       "超级粉丝", "声音天使", "井井有条", "新手任务", "新手任务", "新手任务", "新手任务",
                                       "新手任务"}));
    EXPECT_TRUE(none[10].contains(QStringLiteral("大字体模式")));

    const QString today = window->state().todayStamp();
    for (const char16_t* key : {u"最后一次登录", u"pxt使用", u"录音", u"1000字", u"8000字", u"20000字", u"100000字", u"60min", u"time"})
        putSetting(kSoftware, QString::fromUtf16(key), today);
    putSetting(QStringLiteral("日记"), QStringLiteral("最后一次日记"), today);
    for (int n = 2; n <= 6; ++n) putSetting(kSoftware, QStringLiteral("新手%1").arg(n), texts::kTrue);
    refresh();
    const QStringList all = rows();
    ASSERT_EQ(all.size(), 15);
    for (const QString& row : all) EXPECT_TRUE(row.contains(QStringLiteral("√完成"))) << row.toStdString();
    EXPECT_TRUE(all[0].startsWith(QStringLiteral("勤劳蜜蜂")));
    EXPECT_TRUE(all[1].startsWith(QStringLiteral("超级粉丝")));
    EXPECT_TRUE(all[8].startsWith(QStringLiteral("写作强者")));
    EXPECT_TRUE(all[14].startsWith(QStringLiteral("井井有条")));
    EXPECT_EQ(window->state().pointsTotal, 10 + 15 + 15 + 15 + 10 + 10 + 8 + 8 + 10 + 10 + 1 + 5 + 10 + 10 + 10);
}

TEST_F(PointsTest, TitlesAndTheirColours) {
    struct Case {
        int total;
        QString title;
        QColor colour;
    } cases[] = {
        {499, QStringLiteral("称号：积分能手 Lv.4"), QColor()},
        {500, QStringLiteral("称号：积分达人 Lv.5"), QColor(0, 255, 0)},
        {100000000, QStringLiteral("称号：最高等级 至强王者 Lv.MAX"), QColor(250, 237, 73)},
    };
    for (const Case& c : cases) {
        SettingsFile(workDir.path() + QStringLiteral("/setting.ini"))
            .writeBytes(QStringLiteral("运行情况"), QStringLiteral("运行"), cipher::encrypt(std::to_string(c.total), "qmv517362840"));
        window.reset();
        startWindow();
        putSetting(kSoftware, QStringLiteral("最后一登录"), window->state().todayStamp());  // nothing to pay
        const QColor before = find<QLabel>(QStringLiteral("称号显示"))->palette().color(QPalette::WindowText);
        refresh();
        auto* label = find<QLabel>(QStringLiteral("称号显示"));
        EXPECT_EQ(label->text(), c.title);
        EXPECT_EQ(label->palette().color(QPalette::WindowText), c.colour.isValid() ? c.colour : before);
    }
}

}  // namespace
}  // namespace penvox::testing
