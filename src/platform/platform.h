#pragma once
// Everything the program needs of the outside world or of the user goes
// through this one interface: the running program uses QtPlatform, the tests
// a FakePlatform that answers from a script and records every call.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

class QWidget;

namespace penvox {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };
enum class BoxIcon { None, Information };

// Local date and time; weekday 1 = Sunday ... 7 = Saturday.
struct LocalDateTime {
    int year = 2000, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
    int weekday = 7;
};

// What a file dialog shows. Each filter is a description and its patterns
// separated by ';' ("文本文档（*.txt）", "*.txt").
struct FileFilter {
    QString description;
    QString patterns;
};
struct FileDialog {
    QString title;
    QString directory;           // the folder it opens in
    QString fileName;            // the proposed name (save dialogs)
    QList<FileFilter> filters;
    int filterIndex = 0;         // the filter chosen at first
    QString defaultSuffix;       // added to a name typed without one (save dialogs)
};

// Virtual-key codes of the keys the program registers globally.
namespace vk {
inline constexpr int F1 = 112, F2 = 113, F4 = 115, F5 = 116, F6 = 117, F8 = 119, F9 = 120, F10 = 121;
}

class Platform {
public:
    virtual ~Platform() = default;

    // --- asking the user -------------------------------------------------
    // A message box with the given buttons; returns the button pressed.
    // Closing the box counts as Cancel (or No, or Ok when that is the only button).
    virtual Answer messageBox(QWidget* parent, const QString& title, const QString& text,
                              Buttons buttons = Buttons::Ok, BoxIcon icon = BoxIcon::None) = 0;
    // File dialogs: the chosen path, or an empty text when cancelled.
    virtual QString openFileName(QWidget* parent, const FileDialog& dialog) = 0;
    virtual QString saveFileName(QWidget* parent, const FileDialog& dialog) = 0;

    // --- desktop ---------------------------------------------------------
    virtual QString clipboardText() = 0;
    virtual void setClipboardText(const QString& text) = 0;
    virtual void openUrl(const QString& url) = 0;  // a web page, or a folder in the file browser
    virtual void startProgram(const QString& program, const QStringList& arguments) = 0;

    // --- clock, chance, user -------------------------------------------------
    virtual LocalDateTime now() = 0;
    virtual int randomInt(int low, int high) = 0;  // inclusive bounds
    virtual QString userName() = 0;
    virtual std::uint64_t cycleCounter() = 0;
    // Waits while still handling events (the fake only advances its clock).
    virtual void waitMs(int ms) = 0;

    // --- the registry value `dizhi` under `software\penvox` --------------------
    virtual QString registryValue() = 0;  // empty when absent
    virtual void setRegistryValue(const QString& value) = 0;

    // --- network ----------------------------------------------------------------
    // The body of a GET, empty on any failure; bounded by timeoutMs and 1 MiB.
    virtual QByteArray httpGet(const QString& url, int timeoutMs) = 0;

    // --- global hot keys ------------------------------------------------------
    // Registers a key (virtual-key code, modifiers 0) for the whole desktop.
    // Returns a distinct non-zero id, or 0 when the key is taken (also when this
    // program already holds it). Presses arrive at the handler with that id.
    virtual int registerHotKey(int virtualKey) = 0;
    virtual void setHotKeyHandler(std::function<void(int id)> handler) = 0;

    // --- sound and printing -----------------------------------------------------
    // Plays a WAV image held in memory and returns at once; silently nothing
    // without an audio device.
    virtual void playSound(const QByteArray& wavImage) = 0;
    // Records 8000 Hz mono 16-bit PCM into a WAV file until stopRecording.
    virtual bool startRecording(const QString& wavPath) = 0;
    virtual void stopRecording() = 0;
    // The WAV player.
    virtual bool playFile(const QString& path) = 0;
    virtual void pausePlayback() = 0;
    virtual void stopPlayback() = 0;
    // Prints lines of text (asking for the printer); false when cancelled or failed.
    virtual bool printLines(QWidget* parent, const QStringList& lines) = 0;
};

}  // namespace penvox
