#pragma once
// Window states that Qt sets through flags: changing a flag hides a shown
// window, so these show it again as it was.
class QWidget;

namespace penvox {

void setAlwaysOnTop(QWidget* window, bool onTop);
bool isAlwaysOnTop(const QWidget* window);
// Window alpha, 0 (clear) to 255 (opaque).
void setWindowAlpha(QWidget* window, int alpha);
int windowAlpha(const QWidget* window);

}  // namespace penvox
