#include "app/colour_picker.h"

#include "app/colours.h"

namespace penvox {

ColourPicker::ColourPicker(const QString& objectName, QWidget* parent) : QPushButton(parent) {
    setObjectName(objectName);
    resize(100, 22);
    repaintSwatch();
}

void ColourPicker::setColour(long long value) {
    value &= 0xFFFFFF;
    if (value == colour_) return;
    colour_ = value;
    repaintSwatch();
    emit changed(colour_);
}

void ColourPicker::repaintSwatch() {
    setStyleSheet(QStringLiteral("background-color: %1; border: 1px solid #808080;")
                      .arg(colourFromValue(colour_).name()));
}

}  // namespace penvox
