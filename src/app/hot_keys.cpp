// The six global hot keys and their single dispatcher.
#include "app/main_window.h"
#include "app/settings_panel.h"
#include "app/window_flags.h"

#include <QCheckBox>

namespace penvox {

void MainWindow::dispatchHotKey(int id) {
    // A key whose registration failed holds id 0 and never matches.
    const auto is = [id](int stored) { return stored != 0 && stored == id; };
    const HotKeyIds& keys = state_.hotKeys;
    if (is(keys.f8)) panel_->show();
    if (is(keys.f9)) clearCommand();
    if (is(keys.f1)) {
        panel_->show();
        panel_->showPage(SettingsPanel::SupportPage);
    }
    if (is(keys.f4)) openScheduleWindow();
    if (is(keys.f6)) openShoppingWindow();
    if (is(keys.f10)) {
        panel_->alwaysOnTop->setChecked(!panel_->alwaysOnTop->isChecked());
        setBothOnTop(panel_->alwaysOnTop->isChecked());
    }
}

}  // namespace penvox
