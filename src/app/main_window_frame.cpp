// The window's own frame: moving by the caption label, resizing by the eight
// grips, close and minimise, the start menu and the tray icon.
#include "app/frame_label.h"
#include "app/main_window.h"
#include "app/pictures.h"
#include "app/settings_panel.h"
#include "app/texts.h"
#include "app/window_flags.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QWindow>
#include <algorithm>

namespace penvox {

void MainWindow::connectFrame() {
    connect(captionLabel, &FrameLabel::leftPressed, this, &MainWindow::beginMove);
    connect(captionLabel, &FrameLabel::doubleClicked, this, &MainWindow::toggleMaximised);
    connect(closeLabel, &FrameLabel::leftPressed, this, [this] { close(); });
    connect(minimiseLabel, &FrameLabel::leftPressed, this, [this] { showMinimized(); });

    const struct {
        FrameLabel* grip;
        Qt::Edges edges;
        Qt::CursorShape cursor;
    } grips[] = {
        {gripLeft, Qt::LeftEdge, Qt::SizeHorCursor},
        {gripRight, Qt::RightEdge, Qt::SizeHorCursor},
        {gripTop, Qt::TopEdge, Qt::SizeVerCursor},
        {gripTopLeft, Qt::TopEdge | Qt::LeftEdge, Qt::SizeFDiagCursor},
        {gripTopRight, Qt::TopEdge | Qt::RightEdge, Qt::SizeBDiagCursor},
        {gripBottom, Qt::BottomEdge, Qt::SizeVerCursor},
        {gripBottomLeft, Qt::BottomEdge | Qt::LeftEdge, Qt::SizeBDiagCursor},
        {gripBottomRight, Qt::BottomEdge | Qt::RightEdge, Qt::SizeFDiagCursor},
    };
    for (const auto& g : grips) {
        g.grip->setCursor(g.cursor);
        const Qt::Edges edges = g.edges;
        connect(g.grip, &FrameLabel::leftPressed, this, [this, edges](QPoint pos) { beginResize(edges, pos); });
        connect(g.grip, &FrameLabel::leftDragged, this, &MainWindow::dragTo);
        connect(g.grip, &FrameLabel::leftReleased, this, [this] { drag_ = Drag::None; });
    }
    connect(captionLabel, &FrameLabel::leftDragged, this, &MainWindow::dragTo);
    connect(captionLabel, &FrameLabel::leftReleased, this, [this] { drag_ = Drag::None; });

    connect(startButton, &FrameLabel::leftPressed, this, &MainWindow::popUpStartMenu);
    connect(titlePrompt, &FrameLabel::leftPressed, this, &MainWindow::popUpStartMenu);
    // The writing picture offers the start-writing menu while idle.
    connect(writingButton, &FrameLabel::leftPressed, this, [this] {
        if (state_.writing) return;
        const QPoint below = pos() + writingButton->pos() + QPoint(0, writingButton->height() + 3);
        menus_->writing->popup(below);
    });

    connect(panel_->transparency, &QCheckBox::clicked, this, &MainWindow::transparencySwitch);
    connect(panel_->okButton, &QPushButton::clicked, this, [this] { runSettingsOkAction(); });
    connect(panel_->cancelLabel, &FrameLabel::leftPressed, panel_, &QWidget::hide);
    connect(menus_->item(QStringLiteral("退出")), &QAction::triggered, this, [this] { close(); });
}

void MainWindow::beginMove(QPoint globalPos) {
    // The window system moves the window while the button is held; where it
    // cannot (no window manager), the label's drags move it.
    if (windowHandle() && windowHandle()->startSystemMove()) return;
    drag_ = Drag::Move;
    dragStart_ = globalPos;
    dragStartGeometry_ = geometry();
}

void MainWindow::beginResize(Qt::Edges edges, QPoint globalPos) {
    if (windowHandle() && windowHandle()->startSystemResize(edges)) return;
    drag_ = Drag::Resize;
    dragEdges_ = edges;
    dragStart_ = globalPos;
    dragStartGeometry_ = geometry();
}

void MainWindow::dragTo(QPoint globalPos) {
    const QPoint delta = globalPos - dragStart_;
    if (drag_ == Drag::Move) {
        move(dragStartGeometry_.topLeft() + delta);
    } else if (drag_ == Drag::Resize) {
        QRect r = dragStartGeometry_;
        if (dragEdges_ & Qt::LeftEdge) r.setLeft(std::min(r.left() + delta.x(), r.right() - minimumWidth() + 1));
        if (dragEdges_ & Qt::RightEdge) r.setRight(r.right() + delta.x());
        if (dragEdges_ & Qt::TopEdge) r.setTop(std::min(r.top() + delta.y(), r.bottom() - minimumHeight() + 1));
        if (dragEdges_ & Qt::BottomEdge) r.setBottom(r.bottom() + delta.y());
        setGeometry(r);
    }
}

void MainWindow::toggleMaximised() {
    if (isMaximized()) showNormal();
    else showMaximized();
}

QPoint MainWindow::startMenuPoint() const {
    return QPoint(x() + startButton->x(), y() + startButton->y() + startButton->height() + 3);
}

void MainWindow::popUpStartMenu() { menus_->start->popup(startMenuPoint()); }

void MainWindow::buildTrayIcon() {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) return;  // no tray: nothing to put up
    tray_ = new QSystemTrayIcon(pictures::programIcon(), this);
    tray_->setToolTip(texts::kTrayTip);
    connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger) restoreFromTray();
        else if (reason == QSystemTrayIcon::Context) trayMenuAt(QCursor::pos());
    });
    tray_->show();
}

void MainWindow::restoreFromTray() {
    show();
    showNormal();
    // On top and straight off again: brings the window to the front without
    // leaving it on top.
    setAlwaysOnTop(this, true);
    setAlwaysOnTop(this, false);
    raise();
    activateWindow();
}

void MainWindow::trayMenuAt(QPoint mousePos) { menus_->start->popup(mousePos + QPoint(3, 3)); }

}  // namespace penvox
