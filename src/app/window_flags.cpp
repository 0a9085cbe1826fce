#include "app/window_flags.h"

#include <QWidget>
#include <algorithm>
#include <cmath>

namespace penvox {

void setAlwaysOnTop(QWidget* window, bool onTop) {
    if (isAlwaysOnTop(window) == onTop) return;
    const bool wasVisible = window->isVisible();
    const bool noActivation = window->testAttribute(Qt::WA_ShowWithoutActivating);
    window->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (wasVisible) {
        window->setAttribute(Qt::WA_ShowWithoutActivating, true);
        window->show();
        window->setAttribute(Qt::WA_ShowWithoutActivating, noActivation);
    }
}

bool isAlwaysOnTop(const QWidget* window) { return window->windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

void setWindowAlpha(QWidget* window, int alpha) { window->setWindowOpacity(std::clamp(alpha, 0, 255) / 255.0); }

int windowAlpha(const QWidget* window) { return static_cast<int>(std::lround(window->windowOpacity() * 255.0)); }

}  // namespace penvox
