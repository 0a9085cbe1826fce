#pragma once
// Colours as the settings file stores them: one integer R + 256*G + 65536*B.
#include <QColor>

class QWidget;

namespace penvox {

inline QColor colourFromValue(long long value) {
    const auto v = static_cast<unsigned long long>(value) & 0xFFFFFFu;
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF));
}
inline long long valueOfColour(const QColor& colour) {
    return colour.red() + 256LL * colour.green() + 65536LL * colour.blue();
}

// Gives a widget a solid background colour, with text in black or white,
// whichever reads on it.
void paintBackground(QWidget* widget, const QColor& colour);

}  // namespace penvox
