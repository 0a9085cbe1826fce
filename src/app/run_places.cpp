#include "app/run_places.h"

#include "core/run_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <unistd.h>

namespace penvox {

namespace {
std::string env(const char* name) {
    const QByteArray value = qgetenv(name);
    return value.toStdString();
}
QString fromLocal(const std::string& path) { return QString::fromStdString(path); }
}  // namespace

QString RunPlaces::settingsFile() const { return fromLocal(paths::settingsFile(runDir.toStdString())); }
QString RunPlaces::pointsFile() const { return fromLocal(paths::settingsFile(workDir.toStdString())); }

RunPlaces RunPlaces::forThisProcess() {
    const QString exeDir = QCoreApplication::applicationDirPath();
    const bool writable = ::access(QFile::encodeName(exeDir).constData(), W_OK) == 0;
    RunPlaces places;
    places.runDir = fromLocal(paths::runDirectory(exeDir.toStdString(), writable, env("XDG_DATA_HOME"),
                                                  QDir::homePath().toStdString()));
    QDir().mkpath(places.runDir);
    places.workDir = QDir::currentPath();
    return places;
}

QString RunPlaces::registryFile() {
    return fromLocal(paths::registryFile(env("XDG_CONFIG_HOME"), QDir::homePath().toStdString()));
}

}  // namespace penvox
