#include "app/stats_window.h"

#include "app/pictures.h"
#include "app/texts.h"

#include <QPlainTextEdit>

namespace penvox {

StatsWindow::StatsWindow() : QWidget(nullptr, Qt::Window | Qt::WindowDoesNotAcceptFocus) {
    setObjectName(QStringLiteral("字数统计"));
    setWindowTitle(QStringLiteral("字数统计"));
    setWindowIcon(pictures::programIcon());
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(276, 217);
    breakdown = new QPlainTextEdit(this);
    breakdown->setObjectName(QStringLiteral("高级字数统计"));
    breakdown->setGeometry(0, 1, 280, 216);
    breakdown->setReadOnly(true);
    breakdown->setFocusPolicy(Qt::NoFocus);
    breakdown->setPlainText(texts::kStatsInitial);
}

void StatsWindow::dockTo(const QRect& mainFrame) {
    const int ownHeight = frameGeometry().height();
    move(mainFrame.x() + mainFrame.width(), mainFrame.y() + mainFrame.height() - ownHeight);
}

}  // namespace penvox
