// The window's design: every control of the frame at its place with its
// text, the three menus, the pop-up points, minimising and the tray icon's
// restore.
#include "app_harness.h"

#include "app/settings_panel.h"
#include "app/texts.h"
#include "app/window_flags.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

namespace penvox::testing {
namespace {

class FrameTest : public AppTest {};

TEST_F(FrameTest, DesignedControlsStandAtTheirPlaces) {
    ProbeWindow& w = makeWindow();
    EXPECT_EQ(w.geometry(), QRect(50, 50, 1118, 839));
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::FramelessWindowHint));
    struct Control {
        const char16_t* name;
        QRect place;
        QString text;
    } controls[] = {
        {u"标题栏", {9, 0, 1031, 32}, texts::kCaption},
        {u"关闭按钮", {1094, 6, 24, 24}, QStringLiteral("×")},
        {u"最小化按钮1", {1070, 3, 16, 24}, QStringLiteral("__")},
        {u"左上调节器", {0, 0, 8, 8}, {}},
        {u"上调节器", {8, -8, 1112, 5}, {}},
        {u"右上调节器", {1111, 0, 8, 8}, {}},
        {u"左侧调节器", {0, 24, 5, 816}, {}},
        {u"右调节器", {1112, 0, 8, 824}, {}},
        {u"左下调节器", {0, 829, 8, 8}, {}},
        {u"下调节器", {16, 832, 1104, 5}, {}},
        {u"右下调节器", {1110, 829, 8, 8}, {}},
        {u"背景", {0, 0, 1120, 64}, {}},
        {u"开始按钮", {6, 36, 24, 24}, {}},
        {u"章节名称提示", {37, 32, 71, 32}, QStringLiteral("标题/题目：")},
        {u"书写", {1057, 37, 24, 24}, {}},
        {u"录音按钮", {1089, 36, 24, 24}, {}},
        {u"关于", {224, 192, 592, 368}, {}},
    };
    for (const Control& c : controls) {
        const QString name = QString::fromUtf16(c.name);
        QWidget* widget = find(name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), c.place) << name.toStdString();
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            EXPECT_EQ(label->text(), c.text) << name.toStdString();
        }
    }
    EXPECT_EQ(find(QStringLiteral("章节名称"))->geometry(), QRect(104, 36, 944, 24));
    EXPECT_EQ(find(QStringLiteral("编辑框1"))->geometry(), QRect(2, 64, 990, 743));
    EXPECT_EQ(w.editor().unicodeText(), texts::greeting());
    EXPECT_TRUE(w.editor().unicodeText().startsWith(QStringLiteral("\r\nPenvox 8 多年沉淀，不忘初心\r\n")));
    EXPECT_FALSE(find(QStringLiteral("关于"))->isVisible());
    EXPECT_EQ(find<QGroupBox>(QStringLiteral("关于"))->title(), QStringLiteral("设置"));

    auto* tabs = find<QTabWidget>(QStringLiteral("高级选择夹1"));
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("功能设置"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("积分任务"));
    EXPECT_EQ(tabs->tabText(2), QStringLiteral("技术支持"));
    EXPECT_EQ(find<QPushButton>(QStringLiteral("保存设置"))->text(), QStringLiteral("确定"));
    EXPECT_EQ(find<QLabel>(QStringLiteral("透明标签1"))->text(), QStringLiteral("取消"));
    EXPECT_EQ(find<QLabel>(QStringLiteral("加密器标签1"))->text(), QStringLiteral("星期日五倍积分（新手任务除外）"));

    // The statistics window as designed.
    EXPECT_EQ(w.statsWindow()->windowTitle(), QStringLiteral("字数统计"));
    EXPECT_EQ(w.statsWindow()->size(), QSize(276, 217));
    auto* breakdown = find<QPlainTextEdit>(QStringLiteral("高级字数统计"));
    EXPECT_EQ(breakdown->geometry(), QRect(0, 1, 280, 216));
    EXPECT_EQ(breakdown->toPlainText(), texts::kStatsInitial);
}

TEST_F(FrameTest, SettingsPanelControlsHaveTheirDesignedStates) {
    makeWindow();
    struct Box {
        const char16_t* name;
        QString text;
        bool checked;
    } boxes[] = {
        {u"状态栏选择", QStringLiteral("隐藏状态栏"), true},
        {u"透明化选择", QStringLiteral("软件透明"), false},
        {u"总在最前选择", QStringLiteral("总在最前（F10）"), false},
        {u"自动保存", QStringLiteral("开启丢稿找回（在扩展中心找回）\r\n支持断电、死机蓝屏等方式或者误删文件的文件恢复"), true},
        {u"大字体", QStringLiteral("大字号模式（快捷键：F2）"), false},
        {u"显示统计", QStringLiteral("显示字数统计"), false},
        {u"P服务", QStringLiteral("禁用 P穿越 服务"), false},
        {u"积分系统", QStringLiteral("开启积分系统"), true},
        {u"是否检查更新", QStringLiteral("打开前检查更新"), true},
    };
    for (const Box& b : boxes) {
        auto* box = find<QCheckBox>(QString::fromUtf16(b.name));
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), b.text);
        EXPECT_EQ(box->isChecked(), b.checked) << box->objectName().toStdString();
    }
    struct Combo {
        const char16_t* name;
        int count;
        QString first;
    } combos[] = {
        {u"顶图类型", 8, QStringLiteral("关闭顶图")}, {u"按钮类型", 6, QStringLiteral("经典暗色")},
        {u"文本颜色", 7, QStringLiteral("空灵白")},   {u"键盘音", 4, QStringLiteral("无")},
        {u"提示类型", 2, QStringLiteral("你我共同打造")},
    };
    for (const Combo& c : combos) {
        auto* combo = find<QComboBox>(QString::fromUtf16(c.name));
        ASSERT_NE(combo, nullptr);
        EXPECT_EQ(combo->count(), c.count);
        EXPECT_EQ(combo->currentIndex(), 0);
        EXPECT_EQ(combo->currentText(), c.first);
    }
    for (const char16_t* name : {u"积分显示", u"称号显示", u"称号说明按钮", u"分组框1", u"超级列表框1", u"刷新任务按钮",
                                 u"版本标签", u"当前版本显示", u"最新版本显示", u"博客渠道更新按钮", u"公告",
                                 u"使用帮助按钮", u"开源按钮", u"联系作者按钮", u"官方博客按钮", u"邮箱订阅按钮",
                                 u"使用帮助按钮1", u"许可协议按钮", u"卸载按钮", u"颜色"})
        EXPECT_NE(find(QString::fromUtf16(name)), nullptr);
}

TEST_F(FrameTest, MenusHoldEveryItemInOrder) {
    ProbeWindow& w = makeWindow();
    const auto texts = [](QMenu* menu) {
        QStringList result;
        for (QAction* action : menu->actions()) result << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return result;
    };
    const StartMenus& m = w.menus();
    EXPECT_EQ(texts(m.start), (QStringList{"打开文件", "打开新窗口", "新建", "-", "编辑", "-", "扩展工具",
                                           "清空正在编辑（F9）", "-", "设置（F8）", "退出"}));
    EXPECT_EQ(texts(m.newMenu), (QStringList{"临时文本", "正式文本", "日记", "日程", "购物清单"}));
    EXPECT_EQ(texts(m.editMenu), (QStringList{"插入", "查找文本（Ctrl+F）", "替换文本（Ctrl+H）", "大字号模式（F2）",
                                              "简体繁体转换", "计算表达式（Ctrl+M)"}));
    EXPECT_EQ(texts(m.insertMenu), (QStringList{"日程（F4）", "当前时间（F5）", "分割线（Ctrl+L）"}));
    EXPECT_EQ(texts(m.toolsMenu), (QStringList{"设置常用语", "字数统计", "随机取名", "丢稿找回", "划词翻译",
                                               "个性背景", "打印文本", "P穿越"}));
    EXPECT_EQ(texts(m.voice), (QStringList{"开始录音", "WAV播放器"}));
    EXPECT_EQ(texts(m.writing), (QStringList{"书写临时文件", "开始写文章", "开始写日记", "开始写日程", "列购物清单",
                                             "丢稿找回"}));
}

TEST_F(FrameTest, StartButtonAndTitlePromptPopUpTheStartMenuBelowTheButton) {
    putSetting(QStringLiteral("文本设置"), QStringLiteral("first"), texts::kTrue);
    ProbeWindow& w = startWindow();
    w.move(100, 120);
    settle();
    const QPoint expected(100 + 6, 120 + 36 + 24 + 3);
    EXPECT_EQ(w.startMenuPoint(), expected);
    for (const char16_t* name : {u"开始按钮", u"章节名称提示"}) {
        click(QString::fromUtf16(name));
        EXPECT_TRUE(w.menus().start->isVisible()) << QString::fromUtf16(name).toStdString();
        w.menus().start->hide();
    }
}

TEST_F(FrameTest, WritingPictureOffersTheStartWritingMenuWhileIdle) {
    putSetting(QStringLiteral("文本设置"), QStringLiteral("first"), texts::kTrue);
    ProbeWindow& w = startWindow();
    click(QStringLiteral("书写"));
    EXPECT_TRUE(w.menus().writing->isVisible());
    w.menus().writing->hide();
}

TEST_F(FrameTest, MinimiseLabelAndTrayRestore) {
    putSetting(QStringLiteral("文本设置"), QStringLiteral("first"), texts::kTrue);
    ProbeWindow& w = startWindow();
    click(QStringLiteral("最小化按钮1"));
    settle();
    EXPECT_TRUE(w.isMinimized());

    // The tray's right button offers the menu without restoring the window.
    w.trayMenuAt(QPoint(300, 300));
    EXPECT_TRUE(w.menus().start->isVisible());
    EXPECT_TRUE(w.isMinimized());
    w.menus().start->hide();

    // The left button restores it, to the front but not left on top, even
    // when always-on-top is chosen.
    find<QCheckBox>(QStringLiteral("总在最前选择"))->setChecked(true);
    w.restoreFromTray();
    settle();
    EXPECT_FALSE(w.isMinimized());
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(isAlwaysOnTop(&w));
}

}  // namespace
}  // namespace penvox::testing
