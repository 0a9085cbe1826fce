#pragma once
// The statistics window "字数统计": a small window of its own beside the main
// window, showing the detailed counts. It never takes the keyboard focus away
// from the editor.
#include <QWidget>

class QPlainTextEdit;

namespace penvox {

class StatsWindow : public QWidget {
    Q_OBJECT
public:
    StatsWindow();

    QPlainTextEdit* breakdown;  // 高级字数统计

    // Sits against the main window's right edge, bottom-aligned.
    void dockTo(const QRect& mainFrame);
};

}  // namespace penvox
