#include "app/pane_status_bar.h"

#include <QMouseEvent>
#include <algorithm>

namespace penvox {

PaneStatusBar::PaneStatusBar(const QString& objectName, int paneCount, QWidget* parent) : QWidget(parent) {
    setObjectName(objectName);
    setAutoFillBackground(true);
    for (int i = 0; i < paneCount; ++i) {
        auto* pane = new QLabel(this);
        pane->setObjectName(QStringLiteral("%1_%2").arg(objectName).arg(i));
        pane->setFrameShape(QFrame::StyledPanel);
        pane->setFrameShadow(QFrame::Sunken);
        pane->setTextFormat(Qt::PlainText);
        pane->setIndent(4);
        panes_ << pane;
        widths_ << 180;
    }
    arrangePanes();
}

QString PaneStatusBar::paneText(int index) const {
    return index >= 0 && index < panes_.size() ? panes_[index]->text() : QString();
}

void PaneStatusBar::setPaneText(int index, const QString& text) {
    if (index >= 0 && index < panes_.size()) panes_[index]->setText(text);
}

int PaneStatusBar::paneWidth(int index) const { return index >= 0 && index < widths_.size() ? widths_[index] : 0; }

void PaneStatusBar::setPaneWidth(int index, int width) {
    if (index < 0 || index >= widths_.size()) return;
    widths_[index] = std::max(0, width);
    arrangePanes();
}

void PaneStatusBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit clicked();
    QWidget::mousePressEvent(event);
}

void PaneStatusBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    arrangePanes();
}

void PaneStatusBar::arrangePanes() {
    int x = 0;
    for (int i = 0; i < panes_.size(); ++i) {
        panes_[i]->setGeometry(x, 0, widths_[i], height());
        x += widths_[i];
    }
}

}  // namespace penvox
