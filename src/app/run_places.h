#pragma once
// The folders the program works in, fixed at start: the run directory (the
// settings file, tips, header image and backups) and the working directory
// (the points total).
#include <QString>

namespace penvox {

struct RunPlaces {
    QString runDir;
    QString workDir;

    QString settingsFile() const;  // runDir/setting.ini
    QString pointsFile() const;    // workDir/setting.ini

    // The places of the running program: the executable's folder when it is
    // writable, else the per-user data folder (created); the current directory.
    static RunPlaces forThisProcess();
    // The file that stands in for the registry value.
    static QString registryFile();
};

}  // namespace penvox
