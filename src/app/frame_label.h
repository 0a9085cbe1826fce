#pragma once
// A label of the window's own frame (caption, close, minimise, grips, picture
// boxes): it reports button presses and double clicks instead of showing a
// system frame.
#include <QLabel>

namespace penvox {

class FrameLabel : public QLabel {
    Q_OBJECT
public:
    FrameLabel(const QString& objectName, const QString& text, QWidget* parent);

signals:
    void leftPressed(QPoint globalPos);
    void rightPressed(QPoint globalPos);
    void doubleClicked();
    // Mouse moves while the left button is held (for moving without a window manager).
    void leftDragged(QPoint globalPos);
    void leftReleased();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

}  // namespace penvox
