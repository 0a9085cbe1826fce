// The editor's keys and insertions: the key sound before every key, the Ctrl
// commands, phrases, the time stamp, the divider, the calculation, and the
// backup copy written as the text changes.
#include "app_harness.h"

#include "app/gbk_text.h"
#include "app/pane_status_bar.h"
#include "app/texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <algorithm>

namespace penvox::testing {
namespace {

const QString kSoftware = QStringLiteral("软件设置");
const QString kHeader = QStringLiteral("临时文本： 产生于2017年5月1日9时5分3秒    by：Penvox");

class EditorCommandsTest : public AppTest {
protected:
    void SetUp() override {
        putSetting(QStringLiteral("文本设置"), QStringLiteral("first"), texts::kTrue);
        platform.setNow(2017, 5, 1, 9, 5, 3);
        startWindow();
        click(QStringLiteral("开始书写按钮"));
    }
    QPlainTextEdit* editor() { return find<QPlainTextEdit>(QStringLiteral("编辑框1")); }
    void setText(const QString& text) { window->editor().setUnicodeText(text); }
    QString text() { return window->editor().unicodeText(); }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(editor(), k, m); }
};

TEST_F(EditorCommandsTest, EveryKeyPlaysTheChosenSoundFirst) {
    auto* sounds = find<QComboBox>(QStringLiteral("键盘音"));
    key(Qt::Key_A);
    EXPECT_TRUE(platform.playedSounds.isEmpty());  // "无"
    const int sizes[] = {77870, 24622, 16430};
    for (int index = 1; index <= 3; ++index) {
        sounds->setCurrentIndex(index);
        platform.playedSounds.clear();
        key(Qt::Key_B);
        key(Qt::Key_Left);
        key(Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
        // B, Left, then Ctrl, Shift and F: the modifier keys are key presses too.
        ASSERT_EQ(platform.playedSounds.size(), 5) << index;
        EXPECT_EQ(platform.playedSounds[0].size(), sizes[index - 1]);
        EXPECT_TRUE(platform.playedSounds[0].startsWith("RIFF"));
    }
}

TEST_F(EditorCommandsTest, CtrlAloneRunsTheCommands) {
    setText(QStringLiteral("abc"));
    key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(editor()->textCursor().selectedText(), QStringLiteral("abc"));

    // Ctrl+Shift+F is no command: nothing but its sound.
    key(Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    const QWidgetList windows = QApplication::topLevelWidgets();
    EXPECT_EQ(std::count_if(windows.begin(), windows.end(),
                            [](QWidget* w) { return w->objectName() == QStringLiteral("查找") && w->isVisible(); }),
              0);

    setText(QStringLiteral("前后"));
    window->editor().setSelection(2, 0);
    key(Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(text(), QStringLiteral("前\r\n---------------------------------分割线---------------------------------\r\n后"));
    EXPECT_EQ(window->editor().selectionStart(), 2u + 76u);
}

TEST_F(EditorCommandsTest, PhrasesOfTheTenSlots) {
    putSetting(QStringLiteral("快捷设置"), QStringLiteral("0"), QStringLiteral("第一句"));
    putSetting(QStringLiteral("快捷设置"), QStringLiteral("9"), QStringLiteral("最后"));
    setText(QStringLiteral("abcdefgh"));
    window->editor().setSelection(3, 4);  // bytes 3..7 selected
    key(Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(text(), QStringLiteral("abc第一句defgh"));
    EXPECT_EQ(window->editor().selectionStart(), 3u + 6u);
    EXPECT_EQ(window->editor().selectionLength(), 0u);
    key(Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(text(), QStringLiteral("abc第一句最后defgh"));
    key(Qt::Key_5, Qt::ControlModifier);  // slot 4 is empty
    EXPECT_EQ(text(), QStringLiteral("abc第一句最后defgh"));
}

TEST_F(EditorCommandsTest, TimeStampFromKeyAndMenu) {
    platform.setNow(2017, 2, 2, 9, 5, 3);
    setText(QString());
    key(Qt::Key_F5);
    EXPECT_EQ(text(), QStringLiteral("2017年2月2日 9：5：3"));
    setText(QString());
    menuItem(QStringLiteral("当前时间（F5）"))->trigger();
    EXPECT_EQ(text(), QStringLiteral(" 2017年2月2日 9：5：3 "));

    window->endWriting();
    platform.answerNextMessage(Answer::Ok, QStringLiteral("这是一键添加当前时间按钮。请开始书写之后使用本按钮"));
    window->timeStampCommand(true);
    EXPECT_EQ(text(), QStringLiteral("感谢您的使用"));
}

TEST_F(EditorCommandsTest, CalculationOfSelectionOrWholeText) {
    setText(QStringLiteral("总价 (1234+5678)*90/100="));
    window->editor().setSelection(5, 19);
    key(Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(text(), QStringLiteral("总价 (1234+5678)*90/100 = 6220.8"));
    EXPECT_EQ(platform.clipboard, QStringLiteral("6220.8"));
    EXPECT_EQ(window->statusBar->paneText(1), QStringLiteral("计算结果：6220.8"));
    EXPECT_EQ(setting(kSoftware, QStringLiteral("新手5")), texts::kTrue);

    setText(QStringLiteral("2*3"));
    menuItem(QStringLiteral("计算表达式（Ctrl+M)"))->trigger();
    EXPECT_EQ(text(), QStringLiteral("2*3 = 6"));

    // Not arithmetic: the help message, an empty result, the clipboard emptied.
    setText(QString());
    platform.answerNextMessage(Answer::Ok, QStringLiteral("1、请先输入表达式并选中，然后计算。"));
    key(Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(text(), QStringLiteral(" = "));
    EXPECT_TRUE(platform.clipboard.isEmpty());
    EXPECT_EQ(platform.messages.last().icon, BoxIcon::Information);
}

TEST_F(EditorCommandsTest, BackupFollowsEveryChangeWhileSwitchedOn) {
    const QString folder = runDir.path() + QStringLiteral("/备份");
    const QString copy = folder + QLatin1Char('/') + kHeader + QStringLiteral(".txt");
    key(Qt::Key_X);
    window->flushBackups();
    EXPECT_FALSE(QFile::exists(copy));  // off

    platform.answerNextMessage(Answer::Ok, QStringLiteral("使用自动备份保存后文本会逐字自动保存到软件所在目录。"));
    find<QCheckBox>(QStringLiteral("自动保存"))->click();
    key(Qt::Key_Y);  // the folder is made on the first copy
    window->flushBackups();
    QFile file(copy);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray::fromStdString(toGbk(kHeader + QStringLiteral("\r\nxy"))));
    file.close();

    // Clearing leaves the copy of the cleared text alone.
    platform.answerNextMessage(Answer::Ok, QStringLiteral("警告！该操作"));
    platform.answerNextMessage(Answer::Ok, QStringLiteral("警告！您真的"));
    window->clearCommand();
    window->flushBackups();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray::fromStdString(toGbk(kHeader + QStringLiteral("\r\nxy"))));
    file.close();

    // A title with "/" gets its copy under "_".
    find<QLineEdit>(QStringLiteral("章节名称"))->setText(QStringLiteral("上/下"));
    click(QStringLiteral("开始书写按钮"));
    window->flushBackups();
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/上_下.txt")));

    platform.answerNextMessage(Answer::Ok, QStringLiteral("关闭成功"));
    find<QCheckBox>(QStringLiteral("自动保存"))->click();
    QFile::remove(folder + QStringLiteral("/上_下.txt"));
    key(Qt::Key_Z);
    window->flushBackups();
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("/上_下.txt")));
}

TEST_F(EditorCommandsTest, RecoveryOpensTheBackupFolder) {
    menuItem(QStringLiteral("丢稿找回"))->trigger();
    const QString folder = runDir.path() + QStringLiteral("/备份");
    EXPECT_TRUE(QDir(folder).exists());
    EXPECT_EQ(platform.openedUrls, QStringList{folder});
}

TEST_F(EditorCommandsTest, FindAndReplaceMenuEntriesRefuseWhileIdle) {
    window->endWriting();
    for (const char16_t* item : {u"查找文本（Ctrl+F）", u"替换文本（Ctrl+H）"}) {
        platform.answerNextMessage(Answer::Ok, QStringLiteral("开始书写后再使用吧。"));
        menuItem(QString::fromUtf16(item))->trigger();
    }
    EXPECT_EQ(platform.messages.size(), 2);
}

}  // namespace
}  // namespace penvox::testing
