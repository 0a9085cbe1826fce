#pragma once
// The window's three menus, never shown as a bar: the start menu "开始", the
// voice menu "语音服务" and the start-writing menu "开始书写", popped up by
// the start button, the title prompt, the writing picture and the tray icon.
// Every item's object name is its text, so callers and tests find it by name.
#include <QMenu>

namespace penvox {

struct StartMenus {
    explicit StartMenus(QWidget* parent);

    QMenu* start;    // "开始"
    QMenu* voice;    // "语音服务"
    QMenu* writing;  // "开始书写"

    // Sub-menus of the start menu.
    QMenu* newMenu;    // "新建"
    QMenu* editMenu;   // "编辑"
    QMenu* insertMenu; // "插入"
    QMenu* toolsMenu;  // "扩展工具"

    // The item of any of the menus with this text; nullptr when none.
    QAction* item(const QString& text) const;

private:
    QList<QMenu*> all_;
};

}  // namespace penvox
