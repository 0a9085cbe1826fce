#pragma once
// The program-wide values: one instance, owned by the main window, alive for
// the whole run.
#include "app/run_places.h"
#include "app/settings_file.h"
#include "core/document_files.h"
#include "platform/platform.h"

#include <QString>

namespace penvox {

struct HotKeyIds {
    int f8 = 0, f9 = 0, f1 = 0, f4 = 0, f6 = 0, f10 = 0;
};

struct AppState {
    AppState(Platform& platform, const RunPlaces& places)
        : platform(platform),
          places(places),
          settings(places.settingsFile()),
          pointsFile(places.pointsFile()) {}

    Platform& platform;
    RunPlaces places;
    SettingsFile settings;    // setting.ini of the run directory
    SettingsFile pointsFile;  // setting.ini of the working directory (points total)

    QString fixedKeyText;
    long long pointsTotal = 0;

    // Writing.
    bool writing = false;
    QString documentPath;
    QString documentPassword;
    int loadingFlag = 0;
    int openedDocumentFlag = 0;
    int scheduleModeFlag = 0;
    int shoppingModeFlag = 0;
    // The encoding the opened document came in; it is saved back in it.
    documents::Encoding documentEncoding = documents::Encoding::Gbk;
    // The encrypted document did not decrypt to text: probably a wrong
    // password, so its file is never overwritten.
    bool passwordSuspect = false;

    HotKeyIds hotKeys;
    int writingClockSeconds = 0;

    // Today's date stamp from the platform's clock.
    QString todayStamp() const;
    // The key text of the document being written: the fixed key text and its password.
    std::string documentKeyText() const;
};

}  // namespace penvox
