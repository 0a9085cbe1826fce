#include "platform/qt_platform.h"

#include "core/gbk_codec.h"
#include "core/profile_file.h"
#include "platform/x11_hotkeys.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioOutput>
#include <QAudioSource>
#include <QBuffer>
#include <QClipboard>
#include <QCryptographicHash>
#include <QDate>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSoundEffect>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextLayout>
#include <QTimer>
#include <QUrl>
#include <QtEndian>

#include <algorithm>
#include <chrono>
#include <pwd.h>
#include <unistd.h>

#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif

namespace penvox {

namespace {

constexpr std::string_view kRegistrySection = "software\\penvox";
constexpr std::string_view kRegistryKey = "dizhi";
constexpr int kRecordingRate = 8000;

std::string localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

std::string toGbk(const QString& text) {
    return gbk::fromUtf16({reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())});
}

QString fromGbk(std::string_view bytes) {
    const std::u16string unicode = gbk::toUtf16(bytes);
    return QString::fromUtf16(unicode.data(), static_cast<qsizetype>(unicode.size()));
}

void appendLe16(QByteArray& out, quint16 value) {
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void appendLe32(QByteArray& out, quint32 value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

}  // namespace

int weekdayOf(const QDate& date) { return date.dayOfWeek() % 7 + 1; }

QByteArray wavFromPcm16Mono(const QByteArray& pcm, int sampleRate) {
    // The sizes of a RIFF file are 32-bit: keep whole samples that fit.
    constexpr qint64 kMaxData = 0xFFFFFFFFLL - 36 - 1;
    const qint64 dataSize = std::min<qint64>(pcm.size(), kMaxData) & ~qint64(1);
    const quint32 rate = static_cast<quint32>(std::max(sampleRate, 1));
    QByteArray wav;
    wav.reserve(44 + dataSize);
    wav.append("RIFF", 4);
    appendLe32(wav, static_cast<quint32>(36 + dataSize));
    wav.append("WAVEfmt ", 8);
    appendLe32(wav, 16);        // size of the fmt chunk
    appendLe16(wav, 1);         // PCM
    appendLe16(wav, 1);         // one channel
    appendLe32(wav, rate);      // samples per second
    appendLe32(wav, rate * 2);  // bytes per second
    appendLe16(wav, 2);         // bytes per sample frame
    appendLe16(wav, 16);        // bits per sample
    wav.append("data", 4);
    appendLe32(wav, static_cast<quint32>(dataSize));
    wav.append(pcm.constData(), dataSize);
    return wav;
}

int paintLines(QPagedPaintDevice& device, const QStringList& lines) {
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    const QFont font = painter.font();
    const qreal pageWidth = device.width();
    const qreal pageHeight = device.height();
    const qreal emptyLineHeight = QFontMetricsF(font, &device).lineSpacing();
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);

    int pages = 1;
    qreal y = 0;
    // Moves down by `height`, starting a new page when the line would not
    // fit; the first line of a page is always placed, however tall.
    auto place = [&](qreal height) -> bool {
        if (y > 0 && y + height > pageHeight) {
            if (!device.newPage())
                return false;
            ++pages;
            y = 0;
        }
        return true;
    };

    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    for (const QString& entry : lines) {
        for (const QString& text : entry.split(lineBreak)) {
            if (text.isEmpty()) {
                if (!place(emptyLineHeight))
                    return 0;
                y += emptyLineHeight;
                continue;
            }
            QTextLayout layout(text, font, &device);
            layout.setTextOption(option);
            layout.beginLayout();
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
                line.setLineWidth(pageWidth);
            layout.endLayout();
            for (int i = 0; i < layout.lineCount(); ++i) {
                const QTextLine line = layout.lineAt(i);
                if (!place(line.height()))
                    return 0;
                line.draw(&painter, QPointF(0, y - line.y()));
                y += line.height();
            }
        }
    }
    return painter.end() ? pages : 0;
}

QtPlatform::QtPlatform(QString registryFile)
    : registryFile_(std::move(registryFile)), hotKeys_(std::make_unique<GlobalHotKeys>()) {}

QtPlatform::~QtPlatform() {
    stopRecording();  // a recording in progress is saved, not lost
    qDeleteAll(sounds_);
}

// --- asking the user ----------------------------------------------------------

Answer QtPlatform::messageBox(QWidget* parent, const QString& title, const QString& text, Buttons buttons,
                              BoxIcon icon) {
    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setTextFormat(Qt::PlainText);  // the text is never markup, whatever it holds
    box.setText(text);
    box.setIcon(icon == BoxIcon::Information ? QMessageBox::Information : QMessageBox::NoIcon);
    QMessageBox::StandardButtons standard;
    QMessageBox::StandardButton escape = QMessageBox::Ok;
    switch (buttons) {
    case Buttons::Ok:
        standard = QMessageBox::Ok;
        escape = QMessageBox::Ok;
        break;
    case Buttons::OkCancel:
        standard = QMessageBox::Ok | QMessageBox::Cancel;
        escape = QMessageBox::Cancel;
        break;
    case Buttons::YesNo:
        standard = QMessageBox::Yes | QMessageBox::No;
        escape = QMessageBox::No;
        break;
    case Buttons::YesNoCancel:
        standard = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        escape = QMessageBox::Cancel;
        break;
    }
    box.setStandardButtons(standard);
    box.setEscapeButton(escape);
    box.exec();
    QMessageBox::StandardButton pressed = box.standardButton(box.clickedButton());
    if (pressed == QMessageBox::NoButton)
        pressed = escape;
    switch (pressed) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

namespace {
// One dialog for both kinds, so the initial filter and default suffix apply.
QString runFileDialog(QWidget* parent, const FileDialog& request, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, request.title, request.directory);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    QStringList filters;
    for (const FileFilter& filter : request.filters)
        filters << QStringLiteral("%1 (%2)").arg(filter.description, QString(filter.patterns).replace(QLatin1Char(';'), QLatin1Char(' ')));
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 0 && request.filterIndex < filters.size())
        dialog.selectNameFilter(filters[request.filterIndex]);
    if (!request.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}
}  // namespace

QString QtPlatform::openFileName(QWidget* parent, const FileDialog& dialog) {
    return runFileDialog(parent, dialog, QFileDialog::AcceptOpen);
}

QString QtPlatform::saveFileName(QWidget* parent, const FileDialog& dialog) {
    return runFileDialog(parent, dialog, QFileDialog::AcceptSave);
}

// --- desktop ------------------------------------------------------------------

QString QtPlatform::clipboardText() { return QGuiApplication::clipboard()->text(); }

void QtPlatform::setClipboardText(const QString& text) { QGuiApplication::clipboard()->setText(text); }

void QtPlatform::openUrl(const QString& url) {
    const QUrl parsed(url, QUrl::TolerantMode);
    QUrl target;
    if (parsed.isValid() && parsed.scheme().size() > 1)
        target = parsed;
    else if (QDir::isAbsolutePath(url) || QFileInfo::exists(url))
        target = QUrl::fromLocalFile(QFileInfo(url).absoluteFilePath());
    else
        target = QUrl::fromUserInput(url);  // "www.example.com" is a web page
    if (!target.isValid() || !QDesktopServices::openUrl(target))
        qWarning("penvox: could not open %s", qUtf8Printable(url));
}

void QtPlatform::startProgram(const QString& program, const QStringList& arguments) {
    if (!QProcess::startDetached(program, arguments))
        qWarning("penvox: could not start %s", qUtf8Printable(program));
}

// --- clock, chance, user ---------------------------------------------------------

LocalDateTime QtPlatform::now() {
    const QDateTime current = QDateTime::currentDateTime();
    const QDate date = current.date();
    const QTime time = current.time();
    return LocalDateTime{date.year(),   date.month(),   date.day(),     time.hour(),
                         time.minute(), time.second(), weekdayOf(date)};
}

int QtPlatform::randomInt(int low, int high) {
    if (high < low)
        std::swap(low, high);
    return static_cast<int>(QRandomGenerator::global()->bounded(qint64(low), qint64(high) + 1));
}

QString QtPlatform::userName() {
    if (const passwd* entry = getpwuid(geteuid()); entry != nullptr && entry->pw_name != nullptr &&
                                                   entry->pw_name[0] != '\0')
        return QString::fromLocal8Bit(entry->pw_name);
    return qEnvironmentVariable("USER");
}

std::uint64_t QtPlatform::cycleCounter() {
#if defined(__x86_64__) || defined(__i386__)
    return __rdtsc();
#else
    return static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
#endif
}

void QtPlatform::waitMs(int ms) {
    if (ms <= 0) {
        QCoreApplication::processEvents();
        return;
    }
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(ms);
    loop.exec();
}

// --- the registry value ----------------------------------------------------------

QString QtPlatform::registryValue() {
    return fromGbk(profile::read(localPath(registryFile_), kRegistrySection, kRegistryKey));
}

void QtPlatform::setRegistryValue(const QString& value) {
    const QFileInfo file(registryFile_);
    QDir().mkpath(file.absolutePath());
    if (!profile::write(localPath(registryFile_), kRegistrySection, kRegistryKey, toGbk(value)))
        qWarning("penvox: could not write %s", qUtf8Printable(registryFile_));
}

// --- network -------------------------------------------------------------------

QByteArray QtPlatform::httpGet(const QString& url, int timeoutMs) {
    const QUrl target(url, QUrl::StrictMode);
    const QString scheme = target.scheme().toLower();
    if (!target.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")) ||
        target.host().isEmpty())
        return {};
    if (!network_)
        network_ = std::make_unique<QNetworkAccessManager>();

    QNetworkRequest request(target);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    const std::unique_ptr<QNetworkReply> reply(network_->get(request));

    QByteArray body;
    bool failed = false;
    auto giveUp = [&] {
        failed = true;
        reply->abort();
    };
    // Reads what has arrived, one byte beyond the limit at most: that byte is
    // enough to know the body is too large.
    auto collect = [&] {
        if (failed)
            return;
        body += reply->read(std::min(reply->bytesAvailable(), kMaxBodyBytes + 1 - body.size()));
        if (body.size() > kMaxBodyBytes)
            giveUp();
    };

    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        if (!reply->isFinished())  // an answer complete at the last moment still counts
            giveUp();
    });
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, collect);
    QObject::connect(reply.get(), &QNetworkReply::downloadProgress, &loop, [&](qint64, qint64 total) {
        if (total > kMaxBodyBytes && !failed)
            giveUp();
    });
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    timer.start(std::max(timeoutMs, 0));
    // Input waits for the answer: a click now could close the window whose
    // code is waiting here.
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    timer.stop();
    QObject::disconnect(reply.get(), nullptr, &loop, nullptr);

    if (failed || reply->error() != QNetworkReply::NoError)
        return {};
    if (reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() >= 400)
        return {};
    body += reply->read(std::min(reply->bytesAvailable(), kMaxBodyBytes + 1 - body.size()));
    if (body.size() > kMaxBodyBytes || reply->bytesAvailable() > 0)
        return {};
    return body;
}

// --- global hot keys -----------------------------------------------------------

int QtPlatform::registerHotKey(int virtualKey) { return hotKeys_->registerKey(virtualKey); }

void QtPlatform::setHotKeyHandler(std::function<void(int id)> handler) { hotKeys_->setHandler(std::move(handler)); }

// --- sound ---------------------------------------------------------------------

void QtPlatform::playSound(const QByteArray& wavImage) {
    if (wavImage.isEmpty() || soundsUnavailable_ || QMediaDevices::defaultAudioOutput().isNull())
        return;
    const QByteArray key = QCryptographicHash::hash(wavImage, QCryptographicHash::Sha1);
    if (QSoundEffect* effect = sounds_.value(key)) {
        effect->stop();  // a new key press starts its sound over
        effect->play();
        return;
    }
    if (!soundDir_) {
        soundDir_ = std::make_unique<QTemporaryDir>(
            QStandardPaths::writableLocation(QStandardPaths::TempLocation) + QStringLiteral("/penvox-sounds-XXXXXX"));
        if (!soundDir_->isValid()) {
            soundsUnavailable_ = true;
            return;
        }
    }
    const QString path = soundDir_->filePath(QString::fromLatin1(key.toHex()) + QStringLiteral(".wav"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(wavImage) != wavImage.size() || !file.commit())
        return;
    auto* effect = new QSoundEffect;
    effect->setSource(QUrl::fromLocalFile(path));
    sounds_.insert(key, effect);
    effect->play();  // starts once the sound has loaded
}

bool QtPlatform::startRecording(const QString& wavPath) {
    stopRecording();
    const QAudioDevice device = QMediaDevices::defaultAudioInput();
    if (device.isNull())
        return false;
    QAudioFormat format;
    format.setSampleRate(kRecordingRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format))
        return false;

    auto buffer = std::make_unique<QBuffer>();
    buffer->open(QIODevice::WriteOnly);
    auto source = std::make_unique<QAudioSource>(device, format);
    source->start(buffer.get());
    if (source->error() != QAudio::NoError) {
        source->stop();
        return false;
    }
    recorded_ = std::move(buffer);
    recorder_ = std::move(source);
    recordingPath_ = wavPath;
    return true;
}

void QtPlatform::stopRecording() {
    if (!recorder_)
        return;
    recorder_->stop();
    recorder_.reset();
    const QByteArray pcm = recorded_->data();
    recorded_.reset();
    QSaveFile file(recordingPath_);
    const QByteArray wav = wavFromPcm16Mono(pcm, kRecordingRate);
    if (!file.open(QIODevice::WriteOnly) || file.write(wav) != wav.size() || !file.commit())
        qWarning("penvox: could not write the recording to %s", qUtf8Printable(recordingPath_));
    recordingPath_.clear();
}

bool QtPlatform::playFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile())
        return false;
    if (!player_) {
        playerOutput_ = std::make_unique<QAudioOutput>();
        player_ = std::make_unique<QMediaPlayer>();
        player_->setAudioOutput(playerOutput_.get());
    }
    player_->stop();  // the same file again plays from its start
    player_->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    player_->play();
    return true;
}

void QtPlatform::pausePlayback() {
    if (player_)
        player_->pause();
}

void QtPlatform::stopPlayback() {
    if (player_)
        player_->stop();
}

// --- printing ------------------------------------------------------------------

bool QtPlatform::printLines(QWidget* parent, const QStringList& lines) {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    return paintLines(printer, lines) > 0 && printer.printerState() != QPrinter::Error;
}

}  // namespace penvox
