#pragma once
// The running program's platform: Qt's dialogs, clipboard, network and
// multimedia, a profile file standing in for the registry, and X11 key grabs
// for the global hot keys.
#include "platform/platform.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <memory>

class QAudioOutput;
class QAudioSource;
class QBuffer;
class QDate;
class QMediaPlayer;
class QNetworkAccessManager;
class QPagedPaintDevice;
class QSoundEffect;
class QTemporaryDir;

namespace penvox {

class GlobalHotKeys;

// Qt's day of the week (1 = Monday ... 7 = Sunday) as the program counts it
// (1 = Sunday ... 7 = Saturday).
int weekdayOf(const QDate& date);

// A canonical 44-byte-header PCM WAV image: 16-bit mono samples at the given
// rate. An odd trailing byte (half a sample) is dropped.
QByteArray wavFromPcm16Mono(const QByteArray& pcm, int sampleRate);

// Lays the lines out on the device, breaking each at the page width and
// starting a new page when one is full. Returns the number of pages, 0 when
// painting could not start.
int paintLines(QPagedPaintDevice& device, const QStringList& lines);

class QtPlatform final : public Platform {
public:
    // `registryFile` is the profile file that holds the registry value.
    explicit QtPlatform(QString registryFile);
    ~QtPlatform() override;
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

    Answer messageBox(QWidget* parent, const QString& title, const QString& text, Buttons buttons = Buttons::Ok,
                      BoxIcon icon = BoxIcon::None) override;
    QString openFileName(QWidget* parent, const FileDialog& dialog) override;
    QString saveFileName(QWidget* parent, const FileDialog& dialog) override;

    QString clipboardText() override;
    void setClipboardText(const QString& text) override;
    void openUrl(const QString& url) override;
    void startProgram(const QString& program, const QStringList& arguments) override;

    LocalDateTime now() override;
    int randomInt(int low, int high) override;
    QString userName() override;
    std::uint64_t cycleCounter() override;
    void waitMs(int ms) override;

    QString registryValue() override;
    void setRegistryValue(const QString& value) override;

    QByteArray httpGet(const QString& url, int timeoutMs) override;

    int registerHotKey(int virtualKey) override;
    void setHotKeyHandler(std::function<void(int id)> handler) override;

    void playSound(const QByteArray& wavImage) override;
    bool startRecording(const QString& wavPath) override;
    void stopRecording() override;
    bool playFile(const QString& path) override;
    void pausePlayback() override;
    void stopPlayback() override;
    bool printLines(QWidget* parent, const QStringList& lines) override;

    // The largest body httpGet accepts.
    static constexpr qint64 kMaxBodyBytes = 1024 * 1024;

private:
    QString registryFile_;
    std::unique_ptr<GlobalHotKeys> hotKeys_;
    std::unique_ptr<QNetworkAccessManager> network_;

    // Key sounds: each distinct image is written once to a private temporary
    // folder and keeps its own player.
    std::unique_ptr<QTemporaryDir> soundDir_;
    QHash<QByteArray, QSoundEffect*> sounds_;  // by the image's hash; owned
    bool soundsUnavailable_ = false;

    // Recording: the source is declared after the buffer it writes into, so
    // it is destroyed before it.
    std::unique_ptr<QBuffer> recorded_;
    std::unique_ptr<QAudioSource> recorder_;
    QString recordingPath_;

    // The WAV player.
    std::unique_ptr<QAudioOutput> playerOutput_;
    std::unique_ptr<QMediaPlayer> player_;
};

}  // namespace penvox
