// Start-up: defaults on an empty run directory, the first-use path, restored
// choices, the moved installation and the software day.
#include "app_harness.h"

#include "app/colour_picker.h"
#include "app/pane_status_bar.h"
#include "app/settings_panel.h"
#include "app/texts.h"
#include "app/window_flags.h"
#include "app/gbk_text.h"
#include "core/text_cipher.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace penvox::testing {
namespace {

const QString kSoftware = QStringLiteral("软件设置");
const QString kText = QStringLiteral("文本设置");

class StartupTest : public AppTest {};

TEST_F(StartupTest, EmptyRunDirectoryGivesDefaultsAndRunsTheWizard) {
    ProbeWindow& w = startWindow();

    EXPECT_EQ(w.wizardRuns, 1);
    EXPECT_EQ(w.okActions, 2);  // after the wizard, and step 23
    EXPECT_EQ(w.updateChecks, 1);  // the update check is on unless switched off
    EXPECT_EQ(setting(kSoftware, QStringLiteral("最后一次登录")), QStringLiteral("20261211"));

    EXPECT_TRUE(find<PaneStatusBar>(QStringLiteral("状态条1"))->isVisible());
    EXPECT_FALSE(find<QCheckBox>(QStringLiteral("状态栏选择"))->isChecked());
    EXPECT_EQ(windowAlpha(&w), 255);
    EXPECT_FALSE(find<QCheckBox>(QStringLiteral("透明化选择"))->isChecked());
    EXPECT_FALSE(find<QCheckBox>(QStringLiteral("自动保存"))->isChecked());
    EXPECT_TRUE(find<QCheckBox>(QStringLiteral("积分系统"))->isChecked());
    EXPECT_FALSE(find<QCheckBox>(QStringLiteral("P服务"))->isChecked());
    EXPECT_TRUE(find<QCheckBox>(QStringLiteral("是否检查更新"))->isChecked());
    EXPECT_FALSE(find<QCheckBox>(QStringLiteral("显示统计"))->isChecked());
    EXPECT_FALSE(menuItem(QStringLiteral("字数统计"))->isChecked());
    for (const char16_t* combo : {u"提示类型", u"按钮类型", u"顶图类型", u"文本颜色", u"键盘音"})
        EXPECT_EQ(find<QComboBox>(QString::fromUtf16(combo))->currentIndex(), 0) << QString::fromUtf16(combo).toStdString();
    EXPECT_EQ(find<ColourPicker>(QStringLiteral("颜色"))->colour(), 0);
    EXPECT_EQ(find<QLabel>(QStringLiteral("积分显示"))->text(), QStringLiteral("当前积分： 0"));
    EXPECT_EQ(find<QLabel>(QStringLiteral("版本标签"))->text(), texts::kCaption);
    EXPECT_EQ(w.windowTitle(), texts::kCaption);

    // Showing the window after the wizard lays it out at its designed size,
    // which is recorded and then restored.
    EXPECT_EQ(w.size(), QSize(1118, 839));
    EXPECT_EQ(setting(kSoftware, QStringLiteral("宽度")), QStringLiteral("1118"));
    EXPECT_EQ(setting(kSoftware, QStringLiteral("高度")), QStringLiteral("839"));

    // The idle window: menus, greeting, statistics window.
    EXPECT_FALSE(menuItem(QStringLiteral("编辑"))->isEnabled());
    EXPECT_FALSE(menuItem(QStringLiteral("打印文本"))->isEnabled());
    EXPECT_TRUE(menuItem(QStringLiteral("新建"))->isEnabled());
    EXPECT_FALSE(menuItem(QStringLiteral("大字号模式（F2）"))->isChecked());
    EXPECT_TRUE(w.acceptDrops());
    EXPECT_EQ(w.editor().unicodeText(), texts::greeting());
    EXPECT_FALSE(find(QStringLiteral("编辑框1"))->isEnabled());
    EXPECT_TRUE(w.statsWindow()->isVisible());
    EXPECT_FALSE(find(QStringLiteral("关于"))->isVisible());

    // The six keys, registered in order.
    QList<int> keys;
    for (const auto& registration : platform.hotKeyRegistrations) keys << registration.first;
    EXPECT_EQ(keys, (QList<int>{vk::F8, vk::F9, vk::F1, vk::F4, vk::F6, vk::F10}));
}

TEST_F(StartupTest, AbsentSizesEndAtTheMinimum) {
    putSetting(kText, QStringLiteral("first"), texts::kTrue);
    ProbeWindow& w = startWindow();
    EXPECT_EQ(w.wizardRuns, 0);
    EXPECT_EQ(w.size(), QSize(400, 400));
    EXPECT_EQ(setting(kSoftware, QStringLiteral("宽度")), QStringLiteral("400"));
    EXPECT_EQ(setting(kSoftware, QStringLiteral("高度")), QStringLiteral("400"));
}

TEST_F(StartupTest, TheWizardsSettingsReachTheFileEvenWhenItWasLeftReadOnly) {
    // The previous run left the file read-only; the wizard writes at once.
    putSetting(kText, QStringLiteral("背景颜色"), QStringLiteral("255"));
    QFile::setPermissions(settingsPath(), QFile::ReadOwner | QFile::ReadGroup);
    ProbeWindow& w = makeWindow();
    w.wizard = [this] {
        putSetting(kText, QStringLiteral("背景颜色"), QStringLiteral("33023"));
        putSetting(kText, QStringLiteral("文本颜色"), QStringLiteral("2"));
        putSetting(kText, QStringLiteral("first"), texts::kTrue);
    };
    startWindow();
    EXPECT_EQ(setting(kText, QStringLiteral("背景颜色")), QStringLiteral("33023"));
    EXPECT_EQ(find<ColourPicker>(QStringLiteral("颜色"))->colour(), 33023);
    EXPECT_EQ(find<QComboBox>(QStringLiteral("文本颜色"))->currentIndex(), 2);
    EXPECT_EQ(setting(kText, QStringLiteral("first")), texts::kTrue);
}

TEST_F(StartupTest, SavedValuesAreRestoredIntoTheControls) {
    putSetting(kText, QStringLiteral("first"), texts::kTrue);
    putSetting(kSoftware, QStringLiteral("高度"), QStringLiteral("700"));
    putSetting(kSoftware, QStringLiteral("宽度"), QStringLiteral("900"));
    putSetting(kSoftware, QStringLiteral("状态栏"), texts::kHidden);
    putSetting(kSoftware, QStringLiteral("透明化"), texts::kTrue);
    putSetting(kSoftware, QStringLiteral("自动保存"), texts::kTrue);
    putSetting(kSoftware, QStringLiteral("积分系统00"), texts::kFalse);
    putSetting(kSoftware, QStringLiteral("P服务"), texts::kTrue);
    putSetting(kSoftware, QStringLiteral("检查更新"), texts::kFalse);
    putSetting(kSoftware, QStringLiteral("显示统计"), texts::kTrue);
    putSetting(kSoftware, QStringLiteral("小提示类型"), QStringLiteral("1"));
    putSetting(kSoftware, QStringLiteral("按钮类型"), QStringLiteral("3"));
    putSetting(kSoftware, QStringLiteral("顶图类型"), QStringLiteral("5"));
    putSetting(kSoftware, QStringLiteral("键盘音"), QStringLiteral("2"));
    putSetting(kText, QStringLiteral("文本颜色"), QStringLiteral("6"));
    putSetting(kText, QStringLiteral("背景颜色"), QStringLiteral("16711680"));

    ProbeWindow& w = startWindow();
    EXPECT_EQ(w.wizardRuns, 0);
    EXPECT_EQ(w.okActions, 1);
    EXPECT_EQ(w.updateChecks, 0);
    EXPECT_EQ(w.size(), QSize(900, 700));
    EXPECT_FALSE(find(QStringLiteral("状态条1"))->isVisible());
    EXPECT_TRUE(find<QCheckBox>(QStringLiteral("状态栏选择"))->isChecked());
    EXPECT_EQ(windowAlpha(&w), 220);
    EXPECT_TRUE(find<QCheckBox>(QStringLiteral("透明化选择"))->isChecked());
    EXPECT_TRUE(find<QCheckBox>(QStringLiteral("自动保存"))->isChecked());
    EXPECT_FALSE(find<QCheckBox>(QStringLiteral("积分系统"))->isChecked());
    EXPECT_TRUE(find<QCheckBox>(QStringLiteral("P服务"))->isChecked());
    EXPECT_FALSE(find<QCheckBox>(QStringLiteral("是否检查更新"))->isChecked());
    EXPECT_TRUE(find<QCheckBox>(QStringLiteral("显示统计"))->isChecked());
    EXPECT_TRUE(menuItem(QStringLiteral("字数统计"))->isChecked());
    EXPECT_EQ(find<QComboBox>(QStringLiteral("提示类型"))->currentIndex(), 1);
    EXPECT_EQ(find<QComboBox>(QStringLiteral("按钮类型"))->currentIndex(), 3);
    EXPECT_EQ(find<QComboBox>(QStringLiteral("顶图类型"))->currentIndex(), 5);
    EXPECT_EQ(find<QComboBox>(QStringLiteral("键盘音"))->currentIndex(), 2);
    EXPECT_EQ(find<QComboBox>(QStringLiteral("文本颜色"))->currentIndex(), 6);
    EXPECT_EQ(find<ColourPicker>(QStringLiteral("颜色"))->colour(), 16711680);
    EXPECT_EQ(w.palette().color(QPalette::Window), QColor(0, 0, 255));
}

TEST_F(StartupTest, BooleanKeysReadAsTheirRowsSay) {
    // Anything but "假" leaves the points system on; anything but "真" leaves backup off.
    putSetting(kText, QStringLiteral("first"), texts::kTrue);
    putSetting(kSoftware, QStringLiteral("积分系统00"), QStringLiteral("abc"));
    putSetting(kSoftware, QStringLiteral("自动保存"), QStringLiteral("true"));
    startWindow();
    EXPECT_TRUE(find<QCheckBox>(QStringLiteral("积分系统"))->isChecked());
    EXPECT_FALSE(find<QCheckBox>(QStringLiteral("自动保存"))->isChecked());
}

TEST_F(StartupTest, MovedInstallationRunsTheFirstUsePathAgain) {
    QTemporaryDir oldInstallation;
    SettingsFile(oldInstallation.path() + QStringLiteral("/setting.ini")).write(kText, QStringLiteral("first"), texts::kTrue);
    putSetting(kText, QStringLiteral("first"), texts::kTrue);

    struct Case {
        QString registry;
        int wizardRuns;
    } cases[] = {
        {oldInstallation.path(), 1},                 // moved: the old folder still has its settings
        {QString(), 0},                              // nothing recorded
        {runDir.path(), 0},                          // this installation
        {oldInstallation.path() + QStringLiteral("/gone"), 0},  // no settings there
    };
    for (const Case& c : cases) {
        platform.registry = c.registry;
        window.reset();
        ProbeWindow& w = startWindow();
        EXPECT_EQ(w.wizardRuns, c.wizardRuns) << c.registry.toStdString();
    }
}

TEST_F(StartupTest, SoftwareDayChangesOnlyTheCaptionLabel) {
    putSetting(kText, QStringLiteral("first"), texts::kTrue);
    for (int day : {27, 28}) {
        platform.setNow(2026, 11, day);
        window.reset();
        ProbeWindow& w = startWindow();
        EXPECT_EQ(find<QLabel>(QStringLiteral("标题栏"))->text(), day == 28 ? texts::kSoftwareDayCaption : texts::kCaption);
        EXPECT_EQ(w.windowTitle(), texts::kCaption);
    }
}

TEST_F(StartupTest, PointsTotalIsReadThroughTheCipherFromTheWorkingDirectory) {
    const std::string key = "qmv517362840";
    const QString pointsFile = workDir.path() + QStringLiteral("/setting.ini");
    struct Case {
        const char* what;
        std::function<void()> store;
        long long total;
    } cases[] = {
        {"absent", [] {}, 0},
        {"written by this program", [&] {
             SettingsFile(pointsFile).writeBytes(QStringLiteral("运行情况"), QStringLiteral("运行"), cipher::encrypt("520", key));
         }, 520},
        {"raw bytes of an older installation", [&] {
             // "1234" encrypts to 69 9D E0 5A: printable enough to stand in the file as they are.
             QFile file(pointsFile);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             file.write(QByteArray("[") + QByteArray::fromStdString(toGbk(QStringLiteral("运行情况"))) + "]\r\n" +
                        QByteArray::fromStdString(toGbk(QStringLiteral("运行"))) + "=" + QByteArray("\x69\x9D\xE0\x5A") + "\r\n");
         }, 1234},
    };
    putSetting(kText, QStringLiteral("first"), texts::kTrue);
    for (const Case& c : cases) {
        QFile::remove(pointsFile);
        c.store();
        window.reset();
        startWindow();
        EXPECT_EQ(window->state().pointsTotal, c.total) << c.what;
        EXPECT_EQ(find<QLabel>(QStringLiteral("积分显示"))->text(), QStringLiteral("当前积分： ") + QString::number(c.total));
    }
    // The run directory's own file never holds the total.
    EXPECT_TRUE(setting(QStringLiteral("运行情况"), QStringLiteral("运行")).isEmpty());
}

}  // namespace
}  // namespace penvox::testing
