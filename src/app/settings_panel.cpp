#include "app/settings_panel.h"

#include "app/colour_picker.h"
#include "app/frame_label.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <algorithm>

namespace penvox {

namespace {

// The designed places on a page count from the top of the tab control, its
// row of tabs included; Qt places a page's children below that row.
constexpr int kTabRowHeight = 24;

QLabel* label(QWidget* page, const QString& name, const QString& text, int x, int y) {
    auto* result = new QLabel(text, page);
    result->setObjectName(name);
    result->move(x, y);
    result->adjustSize();
    return result;
}

QComboBox* combo(QWidget* page, const QString& name, const QStringList& items, int x, int y) {
    auto* result = new QComboBox(page);
    result->setObjectName(name);
    result->addItems(items);
    result->setCurrentIndex(0);
    result->move(x, y);
    result->resize(150, 22);
    return result;
}

QCheckBox* checkBox(QWidget* page, const QString& name, const QString& text, int x, int y, bool checked) {
    auto* result = new QCheckBox(text, page);
    result->setObjectName(name);
    result->setChecked(checked);
    result->move(x, y);
    result->adjustSize();
    return result;
}

QPushButton* button(QWidget* page, const QString& name, const QString& text, int x, int y, int w = -1, int h = 24) {
    auto* result = new QPushButton(text, page);
    result->setObjectName(name);
    result->move(x, y);
    if (w < 0) w = std::max(60, result->sizeHint().width());
    result->resize(w, h);
    return result;
}

}  // namespace

SettingsPanel::SettingsPanel(QWidget* parent) : QGroupBox(QStringLiteral("设置"), parent) {
    setObjectName(QStringLiteral("关于"));
    setGeometry(224, 192, 592, 368);
    // The panel keeps a light look of its own whatever colour the window behind
    // it has (its colours are set role by role, so they are not inherited).
    QPalette light = palette();
    light.setColor(QPalette::Window, QColor(0xF0, 0xF0, 0xF0));
    light.setColor(QPalette::WindowText, Qt::black);
    light.setColor(QPalette::ButtonText, Qt::black);
    light.setColor(QPalette::Text, Qt::black);
    light.setColor(QPalette::Base, Qt::white);
    setPalette(light);
    setAutoFillBackground(true);

    tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("高级选择夹1"));
    tabs->setGeometry(0, -1, 592, 336);
    auto* features = new QWidget;
    auto* points = new QWidget;
    auto* support = new QWidget;
    features->setObjectName(QStringLiteral("功能设置"));
    points->setObjectName(QStringLiteral("积分任务"));
    support->setObjectName(QStringLiteral("技术支持"));
    tabs->addTab(features, QStringLiteral("功能设置"));
    tabs->addTab(points, QStringLiteral("积分任务"));
    tabs->addTab(support, QStringLiteral("技术支持"));

    okButton = button(this, QStringLiteral("保存设置"), QStringLiteral("确定"), 454, 340, 97, 24);
    cancelLabel = new FrameLabel(QStringLiteral("透明标签1"), QStringLiteral("取消"), this);
    cancelLabel->setGeometry(559, 340, 24, 24);

    // Page 0: feature settings.
    label(features, QStringLiteral("网站类标签6"), QStringLiteral("主题设置："), 24, 48);
    label(features, QStringLiteral("软件主题颜色标签1"), QStringLiteral("顶部图片："), 25, 80);
    headerImageCombo = combo(features, QStringLiteral("顶图类型"),
                             {QStringLiteral("关闭顶图"), QStringLiteral("天隙流光"), QStringLiteral("炫蓝风暴"),
                              QStringLiteral("三小黄人"), QStringLiteral("新皎洁月亮"), QStringLiteral("新梦幻森林"),
                              QStringLiteral("win10经典蓝白"), QStringLiteral("自定义顶图")},
                             122, 81);
    label(features, QStringLiteral("小提示内容标签1"), QStringLiteral("软件主题："), 24, 108);
    themeCombo = combo(features, QStringLiteral("按钮类型"),
                       {QStringLiteral("经典暗色"), QStringLiteral("繁盛夏日"), QStringLiteral("中国红"),
                        QStringLiteral("秋景所感"), QStringLiteral("凌动冬日"), QStringLiteral("春暖花开")},
                       122, 110);
    label(features, QStringLiteral("网站类标签1"), QStringLiteral("个性化设置："), 24, 141);
    label(features, QStringLiteral("软件主题颜色标签"), QStringLiteral("背景颜色："), 25, 173);
    colourPicker = new ColourPicker(QStringLiteral("颜色"), features);
    colourPicker->move(122, 175);
    label(features, QStringLiteral("文本颜色标签"), QStringLiteral("文本颜色："), 25, 202);
    textColourCombo = combo(features, QStringLiteral("文本颜色"),
                            {QStringLiteral("空灵白"), QStringLiteral("深邃黑"), QStringLiteral("凌动蓝"),
                             QStringLiteral("清新绿"), QStringLiteral("活力橙"), QStringLiteral("激情紫"),
                             QStringLiteral("热血红")},
                            122, 203);
    label(features, QStringLiteral("键盘音标签"), QStringLiteral("按键音："), 25, 231);
    keySoundCombo = combo(features, QStringLiteral("键盘音"),
                          {QStringLiteral("无"), QStringLiteral("经典键盘音"), QStringLiteral("吃苹果"),
                           QStringLiteral("空洞水滴")},
                          122, 232);
    hideStatusBar = checkBox(features, QStringLiteral("状态栏选择"), QStringLiteral("隐藏状态栏"), 25, 298, true);
    transparency = checkBox(features, QStringLiteral("透明化选择"), QStringLiteral("软件透明"), 117, 298, false);
    alwaysOnTop = checkBox(features, QStringLiteral("总在最前选择"), QStringLiteral("总在最前（F10）"), 196, 298, false);
    label(features, QStringLiteral("网站类标签8"), QStringLiteral("软件设置："), 337, 49);
    autoSave = checkBox(features, QStringLiteral("自动保存"),
                        QStringLiteral("开启丢稿找回（在扩展中心找回）\r\n支持断电、死机蓝屏等方式或者误删文件的文件恢复"),
                        338, 82, true);
    autoSave->resize(204, 38);
    largeFont = checkBox(features, QStringLiteral("大字体"), QStringLiteral("大字号模式（快捷键：F2）"), 338, 125, false);
    showStatistics = checkBox(features, QStringLiteral("显示统计"), QStringLiteral("显示字数统计"), 338, 152, false);

    // Page 1: points tasks.
    pointsLabel = label(points, QStringLiteral("积分显示"), QStringLiteral("当前积分： "), 8, 23);
    titleLabel = label(points, QStringLiteral("称号显示"), QStringLiteral("称号：至尊等级 写作帝王 Lv.MAX"), 288, 26);
    button(points, QStringLiteral("称号说明按钮"), QStringLiteral("说明"), 536, 27, 48);
    auto* taskGroup = new QGroupBox(QStringLiteral("任务列表"), points);
    taskGroup->setObjectName(QStringLiteral("分组框1"));
    taskGroup->setGeometry(1, 50, 592, 256);
    taskList = new QTreeWidget(taskGroup);
    taskList->setObjectName(QStringLiteral("超级列表框1"));
    taskList->setGeometry(6, 18, 576, 232);
    taskList->setRootIsDecorated(false);
    taskList->setHeaderLabels({QStringLiteral("任务"), QStringLiteral("状态")});
    taskList->header()->resizeSection(0, 440);
    refreshTasks = button(points, QStringLiteral("刷新任务按钮"), QStringLiteral("刷新任务"), 6, 308);
    label(points, QStringLiteral("加密器标签1"), QStringLiteral("星期日五倍积分（新手任务除外）"), 120, 308);

    // Page 2: support.
    versionLabel = label(support, QStringLiteral("版本标签"), QString(), 33, 32);
    label(support, QStringLiteral("当前版本显示"), QStringLiteral("当前版本号：8.1"), 32, 53);
    latestVersionLabel = label(support, QStringLiteral("最新版本显示"), QStringLiteral("获取最新版本失败"), 216, 53);
    button(support, QStringLiteral("博客渠道更新按钮"), QStringLiteral("访问官网更新"), 479, 52);
    label(support, QStringLiteral("更好使用标签"), QStringLiteral("公告"), 33, 83);
    announcement = new QPlainTextEdit(support);
    announcement->setObjectName(QStringLiteral("公告"));
    announcement->setGeometry(32, 105, 280, 136);
    announcement->setReadOnly(true);
    label(support, QStringLiteral("网站类标签5"), QStringLiteral("扩展设置"), 327, 88);
    relayDisabled = checkBox(support, QStringLiteral("P服务"), QStringLiteral("禁用 P穿越 服务"), 328, 113, false);
    pointsSystem = checkBox(support, QStringLiteral("积分系统"), QStringLiteral("开启积分系统"), 328, 137, true);
    checkUpdates = checkBox(support, QStringLiteral("是否检查更新"), QStringLiteral("打开前检查更新"), 328, 163, true);
    label(support, QStringLiteral("小提示内容标签"), QStringLiteral("状态栏小提示内容："), 328, 188);
    tipKindCombo = combo(support, QStringLiteral("提示类型"), {QStringLiteral("你我共同打造"), QStringLiteral("自定义文本")},
                         442, 191);
    tipKindCombo->resize(130, 22);
    label(support, QStringLiteral("开源标签"), QStringLiteral("更多"), 33, 240);
    label(support, QStringLiteral("技术支持标签"), QStringLiteral("技术支持/问题反馈"), 240, 240);
    button(support, QStringLiteral("使用帮助按钮"), QStringLiteral("使用帮助"), 34, 264, 90);
    button(support, QStringLiteral("开源按钮"), QStringLiteral("Penvox开源计划"), 130, 264, 104);
    button(support, QStringLiteral("联系作者按钮"), QStringLiteral("联系作者"), 240, 264, 90);
    button(support, QStringLiteral("官方博客按钮"), QStringLiteral("官方博客"), 336, 264, 90);
    button(support, QStringLiteral("邮箱订阅按钮"), QStringLiteral("邮箱订阅更新"), 432, 264, 110);
    button(support, QStringLiteral("许可协议按钮"), QStringLiteral("许可协议"), 34, 293, 90);
    button(support, QStringLiteral("使用帮助按钮1"), QStringLiteral("参与用户调查，赢500积分"), 130, 293, 190);
    button(support, QStringLiteral("卸载按钮"), QStringLiteral("移动安装目录/卸载 Penvox"), 424, 295, 153, 24);

    for (QWidget* page : {features, points, support})
        for (QWidget* child : page->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            child->move(child->x(), child->y() - kTabRowHeight);

    hide();
}

void SettingsPanel::showPage(Page page) { tabs->setCurrentIndex(page); }

void SettingsPanel::showEvent(QShowEvent* event) {
    QGroupBox::showEvent(event);
    raise();
}

}  // namespace penvox
