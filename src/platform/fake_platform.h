#pragma once
// A scripted platform for tests: message boxes and dialogs are answered from
// queues, the clock and the random source are set by the test, and every call
// is recorded. A message box or dialog that the test did not script is
// recorded in `unexpected` (the test fixture fails on it) and answered with
// Cancel (or No, or Ok when that is the only button) / an empty path.
#include "platform/platform.h"

#include <QList>
#include <QMap>
#include <deque>
#include <utility>

namespace penvox {

class FakePlatform : public Platform {
public:
    struct Message {
        QString title;
        QString text;
        Buttons buttons = Buttons::Ok;
        BoxIcon icon = BoxIcon::None;
        Answer answer = Answer::Ok;
    };
    struct Dialog {
        QString kind;  // "open" or "save"
        FileDialog request;
        QString answer;
    };

    // --- script -----------------------------------------------------------
    // The next message box is answered with `answer`; when `textContains` is
    // given, a box whose text does not contain it counts as unexpected.
    void answerNextMessage(Answer answer, const QString& textContains = {});
    // Every box with only an OK button is answered OK without scripting.
    void setAcceptPlainMessages(bool accept) { acceptPlainMessages_ = accept; }
    void answerNextOpenDialog(const QString& path);  // empty: cancelled
    void answerNextSaveDialog(const QString& path);
    void setNow(const LocalDateTime& now) { now_ = now; }
    void setNow(int year, int month, int day, int hour = 12, int minute = 0, int second = 0);
    void queueRandom(int value) { randoms_.push_back(value); }
    void setHttpAnswer(const QString& url, const QByteArray& body) { http_[url] = body; }
    // The id the next registration of `virtualKey` returns (0: taken). Without a
    // scripted result, registrations return 1, 2, 3 ... in order.
    void setHotKeyResult(int virtualKey, int id) { hotKeyResults_[virtualKey].push_back(id); }
    // Delivers a hot-key press with the given id, as the desktop would.
    void pressHotKey(int id);
    // Delivers the press of a registered key (the id of its latest successful registration).
    void pressRegisteredKey(int virtualKey);

    // --- records ------------------------------------------------------------
    QList<Message> messages;
    QList<Dialog> dialogs;
    QStringList unexpected;
    QStringList openedUrls;
    QList<std::pair<QString, QStringList>> startedPrograms;
    QStringList httpRequests;
    QList<std::pair<int, int>> hotKeyRegistrations;  // (virtual key, id returned)
    QList<QByteArray> playedSounds;
    QStringList recordings;
    QStringList playedFiles;
    QList<QStringList> printedJobs;
    QString clipboard;
    QString registry;
    int waitedMs = 0;

    // --- Platform -------------------------------------------------------------
    Answer messageBox(QWidget* parent, const QString& title, const QString& text, Buttons buttons,
                      BoxIcon icon) override;
    QString openFileName(QWidget* parent, const FileDialog& dialog) override;
    QString saveFileName(QWidget* parent, const FileDialog& dialog) override;
    QString clipboardText() override { return clipboard; }
    void setClipboardText(const QString& text) override { clipboard = text; }
    void openUrl(const QString& url) override { openedUrls << url; }
    void startProgram(const QString& program, const QStringList& arguments) override {
        startedPrograms.push_back({program, arguments});
    }
    LocalDateTime now() override { return now_; }
    int randomInt(int low, int high) override;
    QString userName() override { return QStringLiteral("writer"); }
    std::uint64_t cycleCounter() override { return ++cycles_; }
    void waitMs(int ms) override;
    QString registryValue() override { return registry; }
    void setRegistryValue(const QString& value) override { registry = value; }
    QByteArray httpGet(const QString& url, int timeoutMs) override;
    int registerHotKey(int virtualKey) override;
    void setHotKeyHandler(std::function<void(int id)> handler) override { hotKeyHandler_ = std::move(handler); }
    void playSound(const QByteArray& wavImage) override { playedSounds << wavImage; }
    bool startRecording(const QString& wavPath) override;
    void stopRecording() override { recording_ = false; }
    bool playFile(const QString& path) override;
    void pausePlayback() override {}
    void stopPlayback() override {}
    bool printLines(QWidget* parent, const QStringList& lines) override;

private:
    QString answerDialog(const QString& kind, const FileDialog& request, std::deque<QString>& answers);
    struct ScriptedAnswer {
        Answer answer;
        QString textContains;
    };
    std::deque<ScriptedAnswer> answers_;
    std::deque<QString> openAnswers_;
    std::deque<QString> saveAnswers_;
    bool acceptPlainMessages_ = false;
    LocalDateTime now_{2026, 12, 11, 10, 30, 0, 6};
    std::deque<int> randoms_;
    QMap<QString, QByteArray> http_;
    QMap<int, std::deque<int>> hotKeyResults_;
    QMap<int, int> heldKeys_;  // virtual key -> id
    int nextHotKeyId_ = 1;
    std::function<void(int)> hotKeyHandler_;
    std::uint64_t cycles_ = 0;
    bool recording_ = false;
};

}  // namespace penvox
