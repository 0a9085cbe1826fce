// The statistics handler on the real window: pane 0, the statistics window's
// breakdown or gate message, and the day's milestones.
#include "app_harness.h"

#include "app/pane_status_bar.h"
#include "app/texts.h"

#include <QPlainTextEdit>

namespace penvox::testing {
namespace {

const QString kSoftware = QStringLiteral("软件设置");

class StatisticsTest : public AppTest {
protected:
    void SetUp() override {
        putSetting(QStringLiteral("文本设置"), QStringLiteral("first"), texts::kTrue);
        platform.setNow(2017, 5, 1, 9, 5, 3);
        startWindow();
        click(QStringLiteral("开始书写按钮"));
    }
    void setText(const QString& text) { window->editor().setUnicodeText(text); }
    QString pane0() { return window->statusBar->paneText(0); }
    QString breakdown() { return find<QPlainTextEdit>(QStringLiteral("高级字数统计"))->toPlainText(); }
    QString milestone(const char16_t* key) { return setting(kSoftware, QString::fromUtf16(key)); }
};

TEST_F(StatisticsTest, TypingUpdatesPaneZeroAndTheBreakdown) {
    setText(QString());
    typeInto(QStringLiteral("编辑框1"), QStringLiteral("你好，world!"));
    pressKey(QStringLiteral("编辑框1"), Qt::Key_Return);
    EXPECT_EQ(pane0(), QStringLiteral("当前字数：  6"));
    EXPECT_EQ(breakdown(), QStringLiteral("字数统计\n汉字数量：3\n英文数量：5\n符号数量：2\n数字数量：0\n段落数：1\n当前字数：  6"));

    setText(QString());
    EXPECT_EQ(pane0(), QStringLiteral("当前字数：  0"));
    EXPECT_EQ(breakdown(), QStringLiteral("字数统计\n汉字数量：0\n英文数量：0\n符号数量：0\n数字数量：0\n段落数：0\n当前字数：  0"));
}

TEST_F(StatisticsTest, NegativeTotalShowsTheGateButStillCountsAndRecords) {
    window->state().pointsTotal = -1;
    setText(QString(1001, QLatin1Char('a')) + QString(501, QChar(0x4E2D)));
    EXPECT_EQ(breakdown(), QStringLiteral("您需要积分达到0点才能有资格使用详细的文字统计"));
    EXPECT_EQ(pane0(), QStringLiteral("当前字数：  1001"));
    EXPECT_EQ(milestone(u"1000字"), QStringLiteral("201751"));
}

TEST_F(StatisticsTest, MilestonesAsTheCountPassesEachThreshold) {
    struct Case {
        QString text;
        bool k1000, k8000, k20000, k100000;
    } cases[] = {
        {QString(1000, QChar(0x4E2D)), false, false, false, false},             // exactly 1000
        {QString(1001, QChar(0x4E2D)), true, false, false, false},
        // 999 characters on three lines: two breaks add two.
        {QString(333, QChar(0x4E2D)) + QStringLiteral("\r\n") + QString(333, QChar(0x4E2D)) + QStringLiteral("\r\n") +
             QString(333, QChar(0x4E2D)),
         true, false, false, false},
        {QString(2001, QChar(0x4E2D)), true, false, false, false},              // the twenty-thousand key waits
        {QString(8001, QChar(0x4E2D)), true, true, false, false},
        {QString(20001, QChar(0x4E2D)), true, true, true, false},
    };
    for (const Case& c : cases) {
        QFile::remove(settingsPath());
        setText(c.text);
        EXPECT_EQ(!milestone(u"1000字").isEmpty(), c.k1000) << c.text.size();
        EXPECT_EQ(!milestone(u"8000字").isEmpty(), c.k8000) << c.text.size();
        EXPECT_EQ(!milestone(u"20000字").isEmpty(), c.k20000) << c.text.size();
        EXPECT_EQ(!milestone(u"100000字").isEmpty(), c.k100000) << c.text.size();
    }
}

TEST_F(StatisticsTest, YesterdaysStampIsReplacedAndOpenedDocumentsEarnNothing) {
    putSetting(kSoftware, QStringLiteral("1000字"), QStringLiteral("2017430"));
    setText(QString(1001, QChar(0x4E2D)));
    EXPECT_EQ(milestone(u"1000字"), QStringLiteral("201751"));

    QFile::remove(settingsPath());
    window->state().openedDocumentFlag = 1;
    setText(QString(100001, QChar(0x4E2D)));
    EXPECT_TRUE(milestone(u"1000字").isEmpty());
    EXPECT_EQ(pane0(), QStringLiteral("当前字数：  100001"));
}

TEST_F(StatisticsTest, StatusBarClickShowsTheStatisticsWindow) {
    window->statsWindow()->hide();
    click(QStringLiteral("状态条1"));
    EXPECT_TRUE(window->statsWindow()->isVisible());
}

}  // namespace
}  // namespace penvox::testing
