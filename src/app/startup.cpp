// Start-up: the main window's created event. Restores the saved state from
// the settings file, runs the first-use wizard when needed, reads the points
// total, loads every saved choice into the controls and registers the hot keys.
#include "app/colour_picker.h"
#include "app/colours.h"
#include "app/frame_label.h"
#include "app/main_window.h"
#include "app/pane_status_bar.h"
#include "app/pictures.h"
#include "app/settings_panel.h"
#include "app/stats_window.h"
#include "app/texts.h"
#include "app/window_flags.h"
#include "app/gbk_text.h"
#include "core/date_stamp.h"
#include "core/text_cipher.h"
#include "core/numbers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace penvox {

namespace {
const QString kSoftware = QStringLiteral("软件设置");
const QString kText = QStringLiteral("文本设置");
}  // namespace

void MainWindow::start() {
    AppState& s = state_;
    const SettingsFile& settings = s.settings;
    // The settings file stays read-only while the program is not running; it
    // is made writable before anything else so that nothing written during
    // start-up (the first-use wizard's choices) is lost.
    settings.makeWritable();

    // 1. The statistics window, modeless and without owner.
    stats_->show();
    // 2.
    setWindowTitle(captionLabel->text());
    tipTimer->start(7500);
    // 3.
    s.fixedKeyText = texts::kFixedKeyText;
    s.scheduleModeFlag = 0;
    s.openedDocumentFlag = 0;
    menus_->item(QStringLiteral("编辑"))->setEnabled(false);
    menus_->item(QStringLiteral("打印文本"))->setEnabled(false);
    menus_->item(QStringLiteral("新建"))->setEnabled(true);
    // 4. Files and text can be dropped on the window.
    setAcceptDrops(true);
    menus_->item(QStringLiteral("大字号模式（F2）"))->setChecked(false);

    // 5. First use.
    if (settings.text(kText, QStringLiteral("first")) != texts::kTrue) startUpFirstUse();
    // 6. An installation moved from another folder runs the first-use path
    // again. An empty registry value means no installation was recorded.
    const QString recordedDir = s.platform.registryValue();
    if (!recordedDir.isEmpty() && recordedDir != s.places.runDir &&
        QFileInfo::exists(recordedDir + QStringLiteral("/setting.ini")))
        startUpFirstUse();

    // 7. The saved size.
    resize(width(), static_cast<int>(settings.integer(kSoftware, QStringLiteral("高度"))));
    resize(static_cast<int>(settings.integer(kSoftware, QStringLiteral("宽度"))), height());
    // 8.
    settings.makeWritable();
    // 9. The points total, kept encrypted in the working directory's file.
    const std::string total = cipher::decrypt(s.pointsFile.bytes(QStringLiteral("运行情况"), QStringLiteral("运行")),
                                              toGbk(s.fixedKeyText));
    s.pointsTotal = numbers::toInteger(total);
    panel_->pointsLabel->setText(texts::kPointsPrefix + QString::number(s.pointsTotal));
    // 10.
    panel_->colourPicker->setColour(settings.integer(kText, QStringLiteral("背景颜色")));
    // 11.
    const bool statusHidden = settings.text(kSoftware, QStringLiteral("状态栏")) == texts::kHidden;
    statusBar->setVisible(!statusHidden);
    panel_->hideStatusBar->setChecked(statusHidden);
    // 12.
    const bool transparent = settings.isTrue(kSoftware, QStringLiteral("透明化"));
    setWindowAlpha(this, transparent ? 220 : 255);
    panel_->transparency->setChecked(transparent);
    // 13.
    panel_->autoSave->setChecked(settings.isTrue(kSoftware, QStringLiteral("自动保存")));
    panel_->pointsSystem->setChecked(settings.isNotFalse(kSoftware, QStringLiteral("积分系统00")));
    panel_->relayDisabled->setChecked(settings.isTrue(kSoftware, QStringLiteral("P服务")));
    panel_->checkUpdates->setChecked(settings.isNotFalse(kSoftware, QStringLiteral("检查更新")));
    panel_->showStatistics->setChecked(settings.isTrue(kSoftware, QStringLiteral("显示统计")));
    menus_->item(QStringLiteral("字数统计"))->setChecked(panel_->showStatistics->isChecked());
    // 14.
    applyBackgroundColourToThemedControls();
    // 15.
    writingButton->setPixmap(pictures::pixmap(QStringLiteral("pen"), QSize(32, 32)));
    panel_->versionLabel->setText(captionLabel->text());
    panel_->versionLabel->adjustSize();
    // 16.
    const auto loadIndex = [&settings](QComboBox* combo, const QString& section, const QString& key) {
        combo->setCurrentIndex(static_cast<int>(settings.integer(section, key)));
    };
    loadIndex(panel_->tipKindCombo, kSoftware, QStringLiteral("小提示类型"));
    loadIndex(panel_->themeCombo, kSoftware, QStringLiteral("按钮类型"));
    loadIndex(panel_->headerImageCombo, kSoftware, QStringLiteral("顶图类型"));
    loadIndex(panel_->textColourCombo, kText, QStringLiteral("文本颜色"));
    loadIndex(panel_->keySoundCombo, kSoftware, QStringLiteral("键盘音"));
    // 17.
    settings.write(kSoftware, QStringLiteral("最后一次登录"), s.todayStamp());
    // 18.
    buildTrayIcon();
    // 19. The monthly software day; the window caption keeps its text.
    if (s.platform.now().day == 28) captionLabel->setText(texts::kSoftwareDayCaption);
    // 20.
    if (panel_->checkUpdates->isChecked()) runUpdateCheck();
    // 21.
    paintBackground(this, colourFromValue(panel_->colourPicker->colour()));
    // 22.
    if (applyCustomBackground()) editorAdapter_.setUnicodeText(texts::kPictureWelcome);
    // 23.
    runSettingsOkAction();
    // 24.
    runLayout();
    dockStatsWindow();
    // 25. The global hot keys, in this order.
    Platform& platform = s.platform;
    platform.setHotKeyHandler([this](int id) { dispatchHotKey(id); });
    s.hotKeys.f8 = platform.registerHotKey(vk::F8);
    s.hotKeys.f9 = platform.registerHotKey(vk::F9);
    s.hotKeys.f1 = platform.registerHotKey(vk::F1);
    s.hotKeys.f4 = platform.registerHotKey(vk::F4);
    s.hotKeys.f6 = platform.registerHotKey(vk::F6);
    s.hotKeys.f10 = platform.registerHotKey(vk::F10);
}

void MainWindow::startUpFirstUse() {
    const SettingsFile& settings = state_.settings;
    hide();
    runFirstUseWizard();
    centreOnScreen();
    panel_->colourPicker->setColour(settings.integer(kText, QStringLiteral("背景颜色")));
    panel_->textColourCombo->setCurrentIndex(static_cast<int>(settings.integer(kText, QStringLiteral("文本颜色"))));
    runSettingsOkAction();
    show();
}

void MainWindow::centreOnScreen() {
    const QScreen* screen = this->screen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

std::string AppState::documentKeyText() const { return toGbk(fixedKeyText + documentPassword); }

QString AppState::todayStamp() const {
    const LocalDateTime now = platform.now();
    return QString::fromStdString(dateStamp(now.year, now.month, now.day));
}

}  // namespace penvox
