#include "platform/fake_platform.h"

#include <QDate>
#include <QDateTime>

#include <algorithm>

namespace penvox {

namespace {
Answer dismissAnswer(Buttons buttons) {
    switch (buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::YesNo: return Answer::No;
    default: return Answer::Cancel;
    }
}
}  // namespace

void FakePlatform::answerNextMessage(Answer answer, const QString& textContains) {
    answers_.push_back({answer, textContains});
}

void FakePlatform::answerNextOpenDialog(const QString& path) { openAnswers_.push_back(path); }
void FakePlatform::answerNextSaveDialog(const QString& path) { saveAnswers_.push_back(path); }

void FakePlatform::setNow(int year, int month, int day, int hour, int minute, int second) {
    const QDate date(year, month, day);
    now_ = {year, month, day, hour, minute, second, date.dayOfWeek() % 7 + 1};
}

Answer FakePlatform::messageBox(QWidget*, const QString& title, const QString& text, Buttons buttons,
                                BoxIcon icon) {
    Message message{title, text, buttons, icon, dismissAnswer(buttons)};
    if (!answers_.empty()) {
        const ScriptedAnswer scripted = answers_.front();
        answers_.pop_front();
        if (!scripted.textContains.isEmpty() && !text.contains(scripted.textContains))
            unexpected << QStringLiteral("message \"%1\" where one containing \"%2\" was expected")
                              .arg(text, scripted.textContains);
        message.answer = scripted.answer;
    } else if (!(acceptPlainMessages_ && buttons == Buttons::Ok)) {
        unexpected << QStringLiteral("unscripted message \"%1\"").arg(text);
    }
    messages << message;
    return message.answer;
}

QString FakePlatform::answerDialog(const QString& kind, const FileDialog& request, std::deque<QString>& answers) {
    Dialog dialog{kind, request, {}};
    if (answers.empty())
        unexpected << QStringLiteral("unscripted %1 dialog \"%2\"").arg(kind, request.title);
    else {
        dialog.answer = answers.front();
        answers.pop_front();
    }
    dialogs << dialog;
    return dialog.answer;
}

QString FakePlatform::openFileName(QWidget*, const FileDialog& request) {
    return answerDialog(QStringLiteral("open"), request, openAnswers_);
}

QString FakePlatform::saveFileName(QWidget*, const FileDialog& request) {
    return answerDialog(QStringLiteral("save"), request, saveAnswers_);
}

int FakePlatform::randomInt(int low, int high) {
    if (randoms_.empty()) return low;
    const int value = randoms_.front();
    randoms_.pop_front();
    return std::clamp(value, low, high);
}

void FakePlatform::waitMs(int ms) {
    waitedMs += ms;
    QDateTime time(QDate(now_.year, now_.month, now_.day), QTime(now_.hour, now_.minute, now_.second));
    time = time.addMSecs(ms);
    setNow(time.date().year(), time.date().month(), time.date().day(), time.time().hour(),
           time.time().minute(), time.time().second());
}

QByteArray FakePlatform::httpGet(const QString& url, int) {
    httpRequests << url;
    return http_.value(url);
}

int FakePlatform::registerHotKey(int virtualKey) {
    int id;
    auto scripted = hotKeyResults_.find(virtualKey);
    if (scripted != hotKeyResults_.end() && !scripted->empty()) {
        id = scripted->front();
        scripted->pop_front();
    } else {
        id = heldKeys_.contains(virtualKey) ? 0 : nextHotKeyId_++;
    }
    if (id != 0) heldKeys_[virtualKey] = id;
    hotKeyRegistrations.push_back({virtualKey, id});
    return id;
}

void FakePlatform::pressHotKey(int id) {
    if (hotKeyHandler_) hotKeyHandler_(id);
}

void FakePlatform::pressRegisteredKey(int virtualKey) {
    if (heldKeys_.contains(virtualKey)) pressHotKey(heldKeys_.value(virtualKey));
}

bool FakePlatform::startRecording(const QString& wavPath) {
    recordings << wavPath;
    recording_ = true;
    return true;
}

bool FakePlatform::playFile(const QString& path) {
    playedFiles << path;
    return true;
}

bool FakePlatform::printLines(QWidget*, const QStringList& lines) {
    printedJobs << lines;
    return true;
}

}  // namespace penvox
