// Shut-down: the diary stamp, unsaved writing, the read-only settings file,
// and the next start making it writable again.
#include "app_harness.h"

#include "app/colour_picker.h"
#include "app/texts.h"

#include <QFileInfo>

namespace penvox::testing {
namespace {

class ShutdownTest : public AppTest {
protected:
    void SetUp() override {
        putSetting(QStringLiteral("文本设置"), QStringLiteral("first"), texts::kTrue);
        putSetting(QStringLiteral("软件设置"), QStringLiteral("宽度"), QStringLiteral("900"));
        putSetting(QStringLiteral("软件设置"), QStringLiteral("高度"), QStringLiteral("600"));
    }
    bool settingsWritable() const { return QFileInfo(settingsPath()).isWritable() &&
                                           (QFile::permissions(settingsPath()) & QFile::WriteOwner); }
};

TEST_F(ShutdownTest, ClosingLeavesTheFileReadOnlyAndTheNextStartRestores) {
    ProbeWindow& w = startWindow();
    EXPECT_TRUE(settingsWritable());
    w.resize(1000, 700);
    settle();
    click(QStringLiteral("关闭按钮"));
    settle();
    EXPECT_EQ(w.programEnds, 1);
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(QFile::permissions(settingsPath()) & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther));

    // A write while the program is not running does not reach the file.
    putSetting(QStringLiteral("软件设置"), QStringLiteral("宽度"), QStringLiteral("500"));
    EXPECT_EQ(setting(QStringLiteral("软件设置"), QStringLiteral("宽度")), QStringLiteral("1000"));

    window.reset();
    ProbeWindow& next = startWindow();
    EXPECT_TRUE(settingsWritable());
    EXPECT_EQ(next.size(), QSize(1000, 700));
}

TEST_F(ShutdownTest, QuitMenuItemRunsShutDown) {
    ProbeWindow& w = startWindow();
    menuItem(QStringLiteral("退出"))->trigger();
    settle();
    EXPECT_EQ(w.programEnds, 1);
    EXPECT_FALSE(w.statsWindow()->isVisible());
}

TEST_F(ShutdownTest, DiaryInProgressIsStampedAtShutDown) {
    ProbeWindow& w = startWindow();
    find<ColourPicker>(QStringLiteral("颜色"))->setEnabled(false);  // how a diary marks itself
    w.close();
    EXPECT_EQ(setting(QStringLiteral("日记"), QStringLiteral("最后一次日记")), QStringLiteral("20261211"));
}

}  // namespace
}  // namespace penvox::testing
