#include "app/frame_label.h"

#include <QMouseEvent>

namespace penvox {

FrameLabel::FrameLabel(const QString& objectName, const QString& text, QWidget* parent) : QLabel(text, parent) {
    setObjectName(objectName);
    setAttribute(Qt::WA_TranslucentBackground);
}

void FrameLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit leftPressed(event->globalPosition().toPoint());
    else if (event->button() == Qt::RightButton) emit rightPressed(event->globalPosition().toPoint());
    event->accept();
}

void FrameLabel::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) emit leftDragged(event->globalPosition().toPoint());
    event->accept();
}

void FrameLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit leftReleased();
    event->accept();
}

void FrameLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit doubleClicked();
    event->accept();
}

}  // namespace penvox
