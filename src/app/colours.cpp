#include "app/colours.h"

#include <QPalette>
#include <QWidget>

namespace penvox {

void paintBackground(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    // Text drawn straight on the background (the frame's labels) stays readable.
    const bool dark = colour.lightness() < 128;
    palette.setColor(QPalette::WindowText, dark ? Qt::white : Qt::black);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

}  // namespace penvox
