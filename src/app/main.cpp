// Penvox: a writing assistant for Chinese-language writers.
#include "app/main_window.h"
#include "app/run_places.h"
#include "platform/qt_platform.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("penvox"));
    QApplication::setApplicationDisplayName(QStringLiteral("Penvox"));
    // The statistics window stays open beside the main window; the program
    // ends when the main window's shut-down says so.
    QApplication::setQuitOnLastWindowClosed(false);

    penvox::QtPlatform platform(penvox::RunPlaces::registryFile());
    penvox::MainWindow window(platform, penvox::RunPlaces::forThisProcess());
    window.start();
    window.show();
    return QApplication::exec();
}
