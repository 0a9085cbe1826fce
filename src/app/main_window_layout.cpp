// The layout of the frame and the working area for the window's size, the
// statistics window's docking, transparency and always-on-top.
#include "app/frame_label.h"
#include "app/main_window.h"
#include "app/pane_status_bar.h"
#include "app/settings_panel.h"
#include "app/stats_window.h"
#include "app/texts.h"
#include "app/window_flags.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>

namespace penvox {

namespace {
// The status bar docks along the bottom edge at this height; the editor ends
// just above it (its height is the window's less 85 with the bar, 65 without).
constexpr int kStatusBarHeight = 20;
}  // namespace

void MainWindow::runLayout() {
    // The window is never smaller than 400 x 400. Setting the size raises a
    // further size change, which lays out again; the figures below use the
    // size the window ends at, so the recorded size is never the rejected one.
    if (width() <= 400 || height() <= 400) resize(std::max(width(), 400), std::max(height(), 400));
    const double w = std::max(width(), 400);
    const double h = std::max(height(), 400);
    const auto cut = [](double value) { return static_cast<int>(value); };

    captionLabel->resize(cut(w - 88), captionLabel->height());
    statusBar->setPaneWidth(2, cut(w - 360));
    // The recorded size is the window's normal size, restored at the next start.
    if (!isMaximized() && !isFullScreen() && !isMinimized()) {
        state_.settings.writeInteger(QStringLiteral("软件设置"), QStringLiteral("高度"), cut(h));
        state_.settings.writeInteger(QStringLiteral("软件设置"), QStringLiteral("宽度"), cut(w));
    }
    panel_->move(cut(w / 2 - panel_->width() / 2.0), cut(h / 2 - panel_->height() / 2.0));
    headerPicture->resize(cut(w), headerPicture->height());
    closeLabel->move(cut(w - 25), closeLabel->y());
    minimiseLabel->move(cut(w - 49), minimiseLabel->y());
    startWritingButton->move(cut(w - 126), startWritingButton->y());

    const bool statusHidden =
        state_.settings.text(QStringLiteral("软件设置"), QStringLiteral("状态栏")) == texts::kHidden;
    editorBox->setGeometry(2, editorBox->y(), cut(w - 4), cut(statusHidden ? h - 65 : h - 85));
    statusBar->setGeometry(0, cut(h) - kStatusBarHeight, cut(w), kStatusBarHeight);

    gripTop->resize(cut(w), gripTop->height());
    gripLeft->resize(gripLeft->width(), cut(h));
    gripBottomLeft->move(gripBottomLeft->x(), cut(h - 8));
    gripBottom->setGeometry(gripBottom->x(), cut(h - 5), cut(w), gripBottom->height());
    gripBottomRight->move(cut(w - 8), cut(h - 8));
    gripRight->setGeometry(cut(w - 5), gripRight->y(), gripRight->width(), cut(h));

    titleBox->resize(cut(w - 175), titleBox->height());
    writingButton->move(titleBox->x() + titleBox->width() + 5, writingButton->y());
    recordButton->move(writingButton->x() + writingButton->width() + 5, recordButton->y());
    // The grips lie above the working area so their edges stay reachable.
    for (QWidget* grip : {gripTopLeft, gripTop, gripTopRight, gripLeft, gripRight, gripBottomLeft, gripBottom,
                          gripBottomRight})
        grip->raise();
    // A custom editor background is repainted here once it exists.
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (isMinimized()) return;  // nothing to lay out while it is in the task bar
    runLayout();
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    dockStatsWindow();
}

void MainWindow::dockStatsWindow() { stats_->dockTo(frameGeometry()); }

void MainWindow::setBothOnTop(bool onTop) {
    setAlwaysOnTop(this, onTop);
    setAlwaysOnTop(stats_.get(), onTop);
}

void MainWindow::transparencySwitch() {
    if (panel_->transparency->isChecked()) {
        setWindowAlpha(this, 220);
        state_.settings.write(QStringLiteral("软件设置"), QStringLiteral("新手3"), texts::kTrue);
        state_.settings.write(QStringLiteral("软件设置"), QStringLiteral("透明化"), texts::kTrue);
    } else {
        setWindowAlpha(this, 255);
        state_.settings.write(QStringLiteral("软件设置"), QStringLiteral("透明化"), texts::kFalse);
    }
    runLayout();
}

}  // namespace penvox
