#pragma once
// The settings panel: the group box `关于` ("设置") inside the main window,
// hidden while not in use, with its three pages. Its controls hold the
// current settings at all times (start-up loads them in).
#include <QGroupBox>

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;

namespace penvox {

class ColourPicker;
class FrameLabel;

class SettingsPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit SettingsPanel(QWidget* parent);

    enum Page { FeaturePage = 0, PointsPage = 1, SupportPage = 2 };

    QTabWidget* tabs;  // 高级选择夹1
    QPushButton* okButton;  // 保存设置
    FrameLabel* cancelLabel;  // 透明标签1

    // Page 0 "功能设置".
    QComboBox* headerImageCombo;  // 顶图类型
    QComboBox* themeCombo;        // 按钮类型
    ColourPicker* colourPicker;   // 颜色
    QComboBox* textColourCombo;   // 文本颜色
    QComboBox* keySoundCombo;     // 键盘音
    QCheckBox* hideStatusBar;     // 状态栏选择
    QCheckBox* transparency;      // 透明化选择
    QCheckBox* alwaysOnTop;       // 总在最前选择
    QCheckBox* autoSave;          // 自动保存
    QCheckBox* largeFont;         // 大字体
    QCheckBox* showStatistics;    // 显示统计

    // Page 1 "积分任务".
    QLabel* pointsLabel;          // 积分显示
    QLabel* titleLabel;           // 称号显示
    QTreeWidget* taskList;        // 超级列表框1
    QPushButton* refreshTasks;    // 刷新任务按钮

    // Page 2 "技术支持".
    QLabel* versionLabel;         // 版本标签
    QLabel* latestVersionLabel;   // 最新版本显示
    QPlainTextEdit* announcement; // 公告
    QCheckBox* relayDisabled;     // P服务
    QCheckBox* pointsSystem;      // 积分系统
    QCheckBox* checkUpdates;      // 是否检查更新
    QComboBox* tipKindCombo;      // 提示类型

    void showPage(Page page);

protected:
    // The panel always shows above the editor.
    void showEvent(QShowEvent* event) override;
};

}  // namespace penvox
