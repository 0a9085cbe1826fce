// The layout for every size, the recorded size, docking of the statistics
// window and the transparency switch.
#include "app_harness.h"

#include "app/pane_status_bar.h"
#include "app/settings_panel.h"
#include "app/texts.h"
#include "app/window_flags.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace penvox::testing {
namespace {

const QString kSoftware = QStringLiteral("软件设置");

class LayoutTest : public AppTest {
protected:
    void SetUp() override {
        putSetting(QStringLiteral("文本设置"), QStringLiteral("first"), texts::kTrue);
        putSetting(kSoftware, QStringLiteral("宽度"), QStringLiteral("1118"));
        putSetting(kSoftware, QStringLiteral("高度"), QStringLiteral("839"));
        startWindow();
    }
    QRect place(const QString& name) { return find(name)->geometry(); }
    void resizeTo(int w, int h) {
        window->resize(w, h);
        settle();
    }
};

TEST_F(LayoutTest, FrameFollowsTheWindowSize) {
    resizeTo(1000, 700);
    EXPECT_EQ(place(QStringLiteral("标题栏")).width(), 1000 - 88);
    EXPECT_EQ(window->statusBar->paneWidth(2), 1000 - 360);
    EXPECT_EQ(setting(kSoftware, QStringLiteral("高度")), QStringLiteral("700"));
    EXPECT_EQ(setting(kSoftware, QStringLiteral("宽度")), QStringLiteral("1000"));
    EXPECT_EQ(place(QStringLiteral("关于")).topLeft(), QPoint(500 - 296, 350 - 184));
    EXPECT_EQ(place(QStringLiteral("背景")).width(), 1000);
    EXPECT_EQ(place(QStringLiteral("关闭按钮")).x(), 975);
    EXPECT_EQ(place(QStringLiteral("最小化按钮1")).x(), 951);
    EXPECT_EQ(place(QStringLiteral("编辑框1")), QRect(2, 64, 996, 700 - 85));
    EXPECT_EQ(place(QStringLiteral("上调节器")).width(), 1000);
    EXPECT_EQ(place(QStringLiteral("左侧调节器")).height(), 700);
    EXPECT_EQ(place(QStringLiteral("左下调节器")).y(), 692);
    EXPECT_EQ(place(QStringLiteral("下调节器")).y(), 695);
    EXPECT_EQ(place(QStringLiteral("下调节器")).width(), 1000);
    EXPECT_EQ(place(QStringLiteral("右下调节器")).topLeft(), QPoint(992, 692));
    EXPECT_EQ(place(QStringLiteral("右调节器")).x(), 995);
    EXPECT_EQ(place(QStringLiteral("右调节器")).height(), 700);
    EXPECT_EQ(place(QStringLiteral("章节名称")).width(), 825);
    EXPECT_EQ(place(QStringLiteral("书写")).x(), 104 + 825 + 5);
    EXPECT_EQ(place(QStringLiteral("录音按钮")).x(), 104 + 825 + 5 + 24 + 5);
    // The status bar docks along the bottom edge, below the editor.
    const QRect bar = place(QStringLiteral("状态条1"));
    EXPECT_EQ(bar.bottom(), 699);
    EXPECT_GE(bar.top(), place(QStringLiteral("编辑框1")).bottom());
}

TEST_F(LayoutTest, TooSmallEndsAtTheMinimumAndRecordsIt) {
    resizeTo(300, 839);
    EXPECT_EQ(window->width(), 400);
    EXPECT_EQ(setting(kSoftware, QStringLiteral("宽度")), QStringLiteral("400"));
    resizeTo(800, 200);
    EXPECT_EQ(window->height(), 400);
    EXPECT_EQ(setting(kSoftware, QStringLiteral("高度")), QStringLiteral("400"));
}

TEST_F(LayoutTest, OddWidthCentresThePanelWithTruncation) {
    resizeTo(1119, 839);
    EXPECT_EQ(place(QStringLiteral("关于")).x(), 263);  // 559.5 - 296, cut toward zero
}

TEST_F(LayoutTest, HiddenStatusBarMakesTheEditorTwentyPixelsTaller) {
    const int shown = place(QStringLiteral("编辑框1")).height();
    putSetting(kSoftware, QStringLiteral("状态栏"), texts::kHidden);
    window->runLayout();
    EXPECT_EQ(place(QStringLiteral("编辑框1")).height(), shown + 20);
}

TEST_F(LayoutTest, StatisticsWindowDocksOnEveryMoveButNotOnResize) {
    window->move(120, 80);
    settle();
    const QRect stats = window->statsWindow()->frameGeometry();
    EXPECT_EQ(stats.x(), 120 + 1118);
    EXPECT_EQ(stats.y() + stats.height(), 80 + 839);

    resizeTo(900, 600);
    EXPECT_EQ(window->statsWindow()->frameGeometry().topLeft(), stats.topLeft());
}

TEST_F(LayoutTest, TransparencySwitchSetsAlphaAndRecordsIt) {
    find(QStringLiteral("关于"))->show();
    find<QWidget>(QStringLiteral("高级选择夹1"));
    auto* box = find<QCheckBox>(QStringLiteral("透明化选择"));
    box->click();
    EXPECT_EQ(windowAlpha(window.get()), 220);
    EXPECT_EQ(setting(kSoftware, QStringLiteral("透明化")), texts::kTrue);
    EXPECT_EQ(setting(kSoftware, QStringLiteral("新手3")), texts::kTrue);
    box->click();
    EXPECT_EQ(windowAlpha(window.get()), 255);
    EXPECT_EQ(setting(kSoftware, QStringLiteral("透明化")), texts::kFalse);
}

TEST_F(LayoutTest, DoubleClickOnTheCaptionMaximisesAndRestores) {
    doubleClick(QStringLiteral("标题栏"));
    settle();
    EXPECT_TRUE(window->isMaximized());
    // A maximised window is laid out but its size is not recorded.
    EXPECT_EQ(setting(kSoftware, QStringLiteral("宽度")), QStringLiteral("1118"));
    doubleClick(QStringLiteral("标题栏"));
    settle();
    EXPECT_FALSE(window->isMaximized());
}

}  // namespace
}  // namespace penvox::testing
