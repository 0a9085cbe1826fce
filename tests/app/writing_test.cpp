// The writing state and the five kinds: header lines, first editor texts,
// control and menu states, refusals, diary colours and the clear command.
#include "app_harness.h"

#include "app/colour_picker.h"
#include "app/pane_status_bar.h"
#include "app/texts.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace penvox::testing {
namespace {

const QString kSoftware = QStringLiteral("软件设置");
const QString kTemporaryHeader = QStringLiteral("临时文本： 产生于2017年5月1日9时5分3秒    by：Penvox");

class WritingTest : public AppTest {
protected:
    void SetUp() override {
        putSetting(QStringLiteral("文本设置"), QStringLiteral("first"), texts::kTrue);
        platform.setNow(2017, 5, 1, 9, 5, 3);  // a Monday
        startWindow();
    }
    QLineEdit* title() { return find<QLineEdit>(QStringLiteral("章节名称")); }
    QPlainTextEdit* editor() { return find<QPlainTextEdit>(QStringLiteral("编辑框1")); }
    QString editorText() { return window->editor().unicodeText(); }
    int caret() { return editor()->textCursor().position(); }
    void expectWriting(bool writing) {
        EXPECT_EQ(window->state().writing, writing);
        EXPECT_EQ(title()->isEnabled(), !writing);
        EXPECT_EQ(editor()->isEnabled(), writing);
        EXPECT_EQ(find<QPushButton>(QStringLiteral("开始书写按钮"))->text(), writing ? QStringLiteral("立刻保存") : QStringLiteral("开始书写"));
        EXPECT_EQ(menuItem(QStringLiteral("打开文件"))->isEnabled(), !writing);
        EXPECT_EQ(menuItem(QStringLiteral("新建"))->isEnabled(), !writing);
    }
    bool editMenu() { return menuItem(QStringLiteral("编辑"))->isEnabled(); }
    bool printMenu() { return menuItem(QStringLiteral("打印文本"))->isEnabled(); }
};

TEST_F(WritingTest, StartWithAnEmptyTitleGivesATemporaryText) {
    click(QStringLiteral("开始书写按钮"));
    expectWriting(true);
    EXPECT_EQ(title()->text(), kTemporaryHeader);
    EXPECT_EQ(editorText(), kTemporaryHeader + QStringLiteral("\r\n"));
    EXPECT_EQ(caret(), editor()->toPlainText().size());
    EXPECT_TRUE(editMenu());
    EXPECT_TRUE(printMenu());
    EXPECT_EQ(window->backgroundRepaints, 1);
}

TEST_F(WritingTest, EnterInTheTitleBoxStartsAnArticle) {
    typeInto(QStringLiteral("章节名称"), QStringLiteral("第一章 雪夜"));
    pressKey(QStringLiteral("章节名称"), Qt::Key_Return);
    expectWriting(true);
    EXPECT_EQ(title()->text(), QStringLiteral("第一章 雪夜"));
    EXPECT_EQ(editorText(), QStringLiteral("第一章 雪夜\r\n"));
    EXPECT_EQ(window->editor().selectionStart(), window->editor().text().size());
}

TEST_F(WritingTest, KindCommandsWriteTheirHeaderAndFirstText) {
    struct Case {
        const char16_t* item;
        QString header;
        QString editor;
        bool edit, print;
        int schedule, shopping;
    } cases[] = {
        {u"书写临时文件", kTemporaryHeader, kTemporaryHeader + QStringLiteral("\r\n"), false, false, 0, 0},
        {u"开始写日程", QStringLiteral("P日程： 产生于2017年5月1日9时5分3秒    by：Penvox"),
         QStringLiteral("P日程： 产生于2017年5月1日9时5分3秒    by：Penvox\r\n###########点击F4开始添加日程###########"), true,
         false, 1, 0},
        {u"列购物清单", QStringLiteral("P清单： 产生于2017年5月1日9时5分3秒    by：Penvox"),
         QStringLiteral("P清单： 产生于2017年5月1日9时5分3秒    by：Penvox\r\n###########点击F6开始添加物品###########"), true,
         false, 0, 1},
    };
    for (const Case& c : cases) {
        const QString item = QString::fromUtf16(c.item);
        typeInto(QStringLiteral("章节名称"), QStringLiteral("typed"));  // replaced by the header
        menuItem(item)->trigger();
        expectWriting(true);
        EXPECT_EQ(title()->text(), c.header) << item.toStdString();
        EXPECT_EQ(editorText(), c.editor) << item.toStdString();
        EXPECT_EQ(caret(), editor()->toPlainText().size());
        EXPECT_EQ(editMenu(), c.edit) << item.toStdString();
        EXPECT_EQ(printMenu(), c.print) << item.toStdString();
        EXPECT_EQ(window->state().scheduleModeFlag, c.schedule);
        EXPECT_EQ(window->state().shoppingModeFlag, c.shopping);
        EXPECT_EQ(find<QLabel>(QStringLiteral("章节名称提示"))->text(), QStringLiteral("标题/题目："));

        // A second kind is refused while writing, and nothing changes.
        platform.answerNextMessage(Answer::Ok, QStringLiteral("当前正在编辑文档呢，您可以保存或清空当前编辑来创建临时文本"));
        menuItem(QStringLiteral("日程"))->trigger();
        EXPECT_EQ(title()->text(), c.header);
        EXPECT_EQ(editorText(), c.editor);

        window->endWriting();
        expectWriting(false);
        EXPECT_EQ(editorText(), QStringLiteral("感谢您的使用"));
        EXPECT_TRUE(title()->text().isEmpty());
        EXPECT_FALSE(editMenu());
        EXPECT_FALSE(printMenu());
        EXPECT_EQ(window->state().scheduleModeFlag, 0);
        EXPECT_EQ(window->state().shoppingModeFlag, 0);
    }
    // Beginner tasks are marked every time.
    EXPECT_EQ(setting(kSoftware, QStringLiteral("新手4")), texts::kTrue);
    EXPECT_EQ(setting(kSoftware, QStringLiteral("新手6")), texts::kTrue);
}

TEST_F(WritingTest, NewMenuOffersTheSameFiveCommands) {
    platform.answerNextMessage(Answer::Ok, QStringLiteral("请输入文章标题后开始书写文章"));
    menuItem(QStringLiteral("正式文本"))->trigger();
    expectWriting(false);
    menuItem(QStringLiteral("临时文本"))->trigger();
    expectWriting(true);
    EXPECT_EQ(title()->text(), kTemporaryHeader);
}

TEST_F(WritingTest, ArticleNeedsATitle) {
    platform.answerNextMessage(Answer::Ok, QStringLiteral("请输入文章标题后开始书写文章"));
    menuItem(QStringLiteral("开始写文章"))->trigger();
    expectWriting(false);
    typeInto(QStringLiteral("章节名称"), QStringLiteral("游记"));
    menuItem(QStringLiteral("开始写文章"))->trigger();
    expectWriting(true);
    EXPECT_EQ(editorText(), QStringLiteral("游记\r\n"));
}

TEST_F(WritingTest, DiaryHasItsColoursAndEndsWithItsStamp) {
    typeInto(QStringLiteral("章节名称"), QStringLiteral("x"));
    platform.answerNextMessage(Answer::Ok, QStringLiteral("写日记时您不需要在标题栏中输入任何内容哦"));
    menuItem(QStringLiteral("开始写日记"))->trigger();
    expectWriting(false);
    title()->clear();

    platform.answerNextMessage(Answer::Ok, QStringLiteral("您已经进入了专属的写日记模式"));
    menuItem(QStringLiteral("开始写日记"))->trigger();
    const QString header = QStringLiteral("2017年5月1日星期2     by：Penvox日记");
    expectWriting(true);
    EXPECT_EQ(title()->text(), header);
    EXPECT_EQ(editorText(), header + QStringLiteral("\r\n"));
    EXPECT_EQ(find<QLabel>(QStringLiteral("章节名称提示"))->text(), QStringLiteral("日记时间："));
    EXPECT_TRUE(window->inDiary());
    EXPECT_FALSE(find(QStringLiteral("颜色"))->isEnabled());
    EXPECT_FALSE(find(QStringLiteral("顶图类型"))->isEnabled());
    const QColor orange(255, 128, 0);
    EXPECT_EQ(window->palette().color(QPalette::Window), orange);
    EXPECT_EQ(editor()->palette().color(QPalette::Base), orange);
    EXPECT_EQ(editor()->palette().color(QPalette::Text), QColor(Qt::white));
    for (const char16_t* picture : {u"开始按钮", u"书写", u"录音按钮"})
        EXPECT_EQ(find(QString::fromUtf16(picture))->palette().color(QPalette::Window), orange);
    EXPECT_FALSE(window->tipTimer->isActive());
    EXPECT_EQ(window->statusBar->paneText(2), QStringLiteral("日记模式"));
    EXPECT_TRUE(setting(QStringLiteral("日记"), QStringLiteral("最后一次日记")).isEmpty());

    // Clearing with two OKs ends the diary: stamp, colours and tips come back.
    platform.answerNextMessage(Answer::Ok, QStringLiteral("警告！该操作将会删除所有内容！"));
    platform.answerNextMessage(Answer::Ok, QStringLiteral("警告！您真的接受初始化软件的一切后果么？"));
    window->clearCommand();
    expectWriting(false);
    EXPECT_EQ(setting(QStringLiteral("日记"), QStringLiteral("最后一次日记")), QStringLiteral("201751"));
    EXPECT_TRUE(find(QStringLiteral("颜色"))->isEnabled());
    EXPECT_TRUE(find(QStringLiteral("顶图类型"))->isEnabled());
    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_NE(editor()->palette().color(QPalette::Base), orange);
    EXPECT_TRUE(window->tipTimer->isActive());
    EXPECT_EQ(window->tipTimer->interval(), 7500);
    EXPECT_EQ(window->okActions, 2);  // start-up's, and the diary's end
    // The prompt keeps the diary's text until a command sets it again.
    EXPECT_EQ(find<QLabel>(QStringLiteral("章节名称提示"))->text(), QStringLiteral("日记时间："));
}

TEST_F(WritingTest, EndingAnotherKindWritesNoDiaryStamp) {
    click(QStringLiteral("开始书写按钮"));
    window->endWriting();
    EXPECT_TRUE(setting(QStringLiteral("日记"), QStringLiteral("最后一次日记")).isEmpty());
    EXPECT_EQ(window->okActions, 1);
}

TEST_F(WritingTest, ClearCommandAsksTwiceAndCancelStops) {
    platform.answerNextMessage(Answer::Ok, QStringLiteral("还没有开始书写"));
    menuItem(QStringLiteral("清空正在编辑（F9）"))->trigger();

    click(QStringLiteral("开始书写按钮"));
    for (int cancelAt : {1, 2}) {
        platform.answerNextMessage(cancelAt == 1 ? Answer::Cancel : Answer::Ok, QStringLiteral("警告！该操作"));
        if (cancelAt == 2) platform.answerNextMessage(Answer::Cancel, QStringLiteral("警告！您真的"));
        menuItem(QStringLiteral("清空正在编辑（F9）"))->trigger();
        expectWriting(true);
        EXPECT_EQ(editorText(), kTemporaryHeader + QStringLiteral("\r\n"));
    }
    EXPECT_EQ(platform.messages.last().buttons, Buttons::OkCancel);
}

TEST_F(WritingTest, ShoppingListRegistersF6AgainAndF6KeepsWorking) {
    const int startupId = window->state().hotKeys.f6;
    ASSERT_NE(startupId, 0);
    menuItem(QStringLiteral("列购物清单"))->trigger();
    // The key is already held by this program: the registration fails and
    // the id from start-up stays in force.
    EXPECT_EQ(platform.hotKeyRegistrations.last(), std::make_pair(vk::F6, 0));
    EXPECT_EQ(window->state().hotKeys.f6, startupId);
    platform.pressHotKey(startupId);
    QWidget* shopping = openWindow(QStringLiteral("添加一个购物项目v1.1"));
    ASSERT_NE(shopping, nullptr);
    shopping->close();
    settle();

    // A registration that succeeds replaces the stored id.
    window->endWriting();
    platform.setHotKeyResult(vk::F6, 77);
    menuItem(QStringLiteral("列购物清单"))->trigger();
    EXPECT_EQ(window->state().hotKeys.f6, 77);
    platform.pressHotKey(77);
    EXPECT_NE(openWindow(QStringLiteral("添加一个购物项目v1.1")), nullptr);
}

TEST_F(WritingTest, RightButtonOnTheStartButtonOffersTheKindsOnlyWhileIdle) {
    auto* button = find<QPushButton>(QStringLiteral("开始书写按钮"));
    emit button->customContextMenuRequested(QPoint(5, 5));
    EXPECT_TRUE(window->menus().writing->isVisible());
    window->menus().writing->hide();
    click(QStringLiteral("开始书写按钮"));
    emit button->customContextMenuRequested(QPoint(5, 5));
    EXPECT_FALSE(window->menus().writing->isVisible());
}

TEST_F(WritingTest, WritingPictureSavesWhileWriting) {
    click(QStringLiteral("开始书写按钮"));
    platform.answerNextSaveDialog(QString());  // the writer closes the dialog
    click(QStringLiteral("书写"));
    expectWriting(true);
    ASSERT_EQ(platform.dialogs.size(), 1);
    EXPECT_EQ(platform.dialogs[0].request.fileName, kTemporaryHeader);
}

}  // namespace
}  // namespace penvox::testing
