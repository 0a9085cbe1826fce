// The global hot keys: registration order, the dispatcher and F10.
#include "app_harness.h"

#include "app/settings_panel.h"
#include "app/texts.h"
#include "app/window_flags.h"

#include <QCheckBox>
#include <QTabWidget>

namespace penvox::testing {
namespace {

class HotKeyTest : public AppTest {
protected:
    void SetUp() override { putSetting(QStringLiteral("文本设置"), QStringLiteral("first"), texts::kTrue); }
};

TEST_F(HotKeyTest, EachKeyRunsItsAction) {
    startWindow();
    auto* panel = find(QStringLiteral("关于"));
    auto* tabs = find<QTabWidget>(QStringLiteral("高级选择夹1"));

    platform.pressRegisteredKey(vk::F8);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(tabs->currentIndex(), 0);
    panel->hide();

    platform.pressRegisteredKey(vk::F1);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(tabs->currentIndex(), 2);

    // Idle: F9 and F4 say nothing is written yet, F6 opens nothing.
    platform.answerNextMessage(Answer::Ok, QStringLiteral("还没有开始书写"));
    platform.pressRegisteredKey(vk::F9);
    platform.answerNextMessage(Answer::Ok, QStringLiteral("还没有开始书写呢"));
    platform.pressRegisteredKey(vk::F4);
    platform.pressRegisteredKey(vk::F6);
    EXPECT_EQ(platform.messages.size(), 2);
    EXPECT_EQ(openWindow(QStringLiteral("添加一个购物项目v1.1")), nullptr);

    // Writing a shopping list: F4 and F6 open their windows.
    menuItem(QStringLiteral("列购物清单"))->trigger();
    platform.pressRegisteredKey(vk::F4);
    EXPECT_NE(openWindow(QStringLiteral("添加一个日程")), nullptr);
    platform.pressRegisteredKey(vk::F6);
    EXPECT_NE(openWindow(QStringLiteral("添加一个购物项目v1.1")), nullptr);
}

TEST_F(HotKeyTest, FailedRegistrationDoesNothing) {
    platform.setHotKeyResult(vk::F9, 0);  // another program holds F9
    ProbeWindow& w = startWindow();
    EXPECT_EQ(w.state().hotKeys.f9, 0);
    EXPECT_NE(w.state().hotKeys.f8, 0);
    platform.pressHotKey(0);  // nothing answers: no message box may appear
    EXPECT_TRUE(platform.messages.isEmpty());
    EXPECT_FALSE(find(QStringLiteral("关于"))->isVisible());
}

TEST_F(HotKeyTest, SharedIdsRunEveryMatchingActionInOrder) {
    // The dispatcher compares with every stored id, so one id held by two keys runs both.
    platform.setHotKeyResult(vk::F8, 40);
    platform.setHotKeyResult(vk::F1, 40);
    startWindow();
    platform.pressHotKey(40);
    EXPECT_TRUE(find(QStringLiteral("关于"))->isVisible());
    EXPECT_EQ(find<QTabWidget>(QStringLiteral("高级选择夹1"))->currentIndex(), 2);  // F1's page, after F8's show
    find(QStringLiteral("关于"))->hide();
    platform.pressHotKey(999);  // an id nobody holds
    EXPECT_FALSE(find(QStringLiteral("关于"))->isVisible());
}

TEST_F(HotKeyTest, F10TogglesBothWindowsOnTop) {
    ProbeWindow& w = startWindow();
    auto* box = find<QCheckBox>(QStringLiteral("总在最前选择"));
    platform.pressRegisteredKey(vk::F10);
    EXPECT_TRUE(box->isChecked());
    EXPECT_TRUE(isAlwaysOnTop(&w));
    EXPECT_TRUE(isAlwaysOnTop(w.statsWindow()));
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.statsWindow()->isVisible());
    platform.pressRegisteredKey(vk::F10);
    EXPECT_FALSE(box->isChecked());
    EXPECT_FALSE(isAlwaysOnTop(&w));
    EXPECT_FALSE(isAlwaysOnTop(w.statsWindow()));
}

}  // namespace
}  // namespace penvox::testing
