// Shut-down: the main window's destroyed event. Offers to save unsaved
// writing, leaves the settings file read-only and ends the program.
#include "app/colour_picker.h"
#include "app/main_window.h"
#include "app/settings_panel.h"
#include "app/stats_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QSystemTrayIcon>

namespace penvox {

void MainWindow::closeEvent(QCloseEvent* event) {
    if (shutDownDone_ || shutDown()) {
        event->accept();
        stats_->close();
        return;
    }
    event->ignore();  // the writing could not be saved: the program stays open
}

bool MainWindow::shutDown() {
    AppState& s = state_;
    // 1. A diary being written ends today (diary mode disables the colour picker).
    if (!panel_->colourPicker->isEnabled())
        s.settings.write(QStringLiteral("日记"), QStringLiteral("最后一次日记"), s.todayStamp());
    // 2. Unsaved writing.
    if (s.writing && !offerToSaveWriting()) return false;
    flushBackups();  // the last copies reach the disk before the program ends
    // 3. The settings file is read-only while the program is not running.
    s.settings.makeReadOnly();
    // 4.
    if (tray_) tray_->hide();
    shutDownDone_ = true;
    // 5.
    endProgram();
    return true;
}

void MainWindow::endProgram() { QCoreApplication::quit(); }

}  // namespace penvox
