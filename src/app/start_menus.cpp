#include "app/start_menus.h"

namespace penvox {

namespace {
QMenu* makeMenu(const QString& title, QWidget* parent) {
    auto* menu = new QMenu(title, parent);
    menu->setObjectName(title);
    menu->menuAction()->setObjectName(title);
    return menu;
}
void addItems(QMenu* menu, const QStringList& texts) {
    for (const QString& text : texts) menu->addAction(text)->setObjectName(text);
}
}  // namespace

StartMenus::StartMenus(QWidget* parent) {
    start = makeMenu(QStringLiteral("开始"), parent);
    addItems(start, {QStringLiteral("打开文件"), QStringLiteral("打开新窗口")});
    newMenu = makeMenu(QStringLiteral("新建"), start);
    addItems(newMenu, {QStringLiteral("临时文本"), QStringLiteral("正式文本"), QStringLiteral("日记"),
                       QStringLiteral("日程"), QStringLiteral("购物清单")});
    start->addMenu(newMenu);
    start->addSeparator();

    editMenu = makeMenu(QStringLiteral("编辑"), start);
    insertMenu = makeMenu(QStringLiteral("插入"), editMenu);
    addItems(insertMenu, {QStringLiteral("日程（F4）"), QStringLiteral("当前时间（F5）"), QStringLiteral("分割线（Ctrl+L）")});
    editMenu->addMenu(insertMenu);
    addItems(editMenu, {QStringLiteral("查找文本（Ctrl+F）"), QStringLiteral("替换文本（Ctrl+H）"),
                        QStringLiteral("大字号模式（F2）"), QStringLiteral("简体繁体转换"),
                        QStringLiteral("计算表达式（Ctrl+M)")});
    start->addMenu(editMenu);
    start->addSeparator();

    toolsMenu = makeMenu(QStringLiteral("扩展工具"), start);
    addItems(toolsMenu, {QStringLiteral("设置常用语"), QStringLiteral("字数统计"), QStringLiteral("随机取名"),
                         QStringLiteral("丢稿找回"), QStringLiteral("划词翻译"), QStringLiteral("个性背景"),
                         QStringLiteral("打印文本"), QStringLiteral("P穿越")});
    start->addMenu(toolsMenu);
    addItems(start, {QStringLiteral("清空正在编辑（F9）")});
    start->addSeparator();
    addItems(start, {QStringLiteral("设置（F8）"), QStringLiteral("退出")});

    voice = makeMenu(QStringLiteral("语音服务"), parent);
    addItems(voice, {QStringLiteral("开始录音"), QStringLiteral("WAV播放器")});

    writing = makeMenu(QStringLiteral("开始书写"), parent);
    addItems(writing, {QStringLiteral("书写临时文件"), QStringLiteral("开始写文章"), QStringLiteral("开始写日记"),
                       QStringLiteral("开始写日程"), QStringLiteral("列购物清单"), QStringLiteral("丢稿找回")});

    all_ = {start, newMenu, editMenu, insertMenu, toolsMenu, voice, writing};

    // Items that carry a check mark.
    item(QStringLiteral("大字号模式（F2）"))->setCheckable(true);
    item(QStringLiteral("字数统计"))->setCheckable(true);
}

QAction* StartMenus::item(const QString& text) const {
    // Sub-menus are items of their parent menu too ("新建", "编辑").
    for (QMenu* menu : all_)
        for (QAction* action : menu->actions())
            if (action->text() == text) return action;
    return nullptr;
}

}  // namespace penvox
