// The real platform, as far as it can be exercised offscreen: pure helpers,
// the registry file, HTTP against a local server, message boxes, and the
// application-wide form of the hot keys.
#include "platform/qt_platform.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QMessageBox>
#include <QPdfWriter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtEndian>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <map>
#include <set>

using penvox::Answer;
using penvox::BoxIcon;
using penvox::Buttons;
using penvox::QtPlatform;

namespace {

// ---------------------------------------------------------------------------
// A tiny HTTP server on 127.0.0.1 answering each path with a canned response.

struct CannedResponse {
    QByteArray statusLine = "200 OK";
    QByteArray extraHeaders;
    QByteArray body;
    bool sendLength = true;  // false: the body ends when the connection closes
    bool silent = false;     // never answers at all
};

class TinyHttpServer {
public:
    TinyHttpServer() {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                socket->setParent(&server_);
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { serve(socket); });
            }
        });
    }
    void route(const QByteArray& path, CannedResponse response) { routes_[path] = std::move(response); }
    QString url(const QString& path) const {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
    }
    bool listening() const { return server_.isListening(); }

private:
    void serve(QTcpSocket* socket) {
        QByteArray& request = pending_[socket];
        request += socket->readAll();
        if (!request.contains("\r\n\r\n"))
            return;
        const QByteArray path = request.split(' ').value(1);
        request.clear();
        const auto found = routes_.find(path);
        CannedResponse response;
        if (found != routes_.end())
            response = found->second;
        else
            response = CannedResponse{"404 Not Found", {}, "nothing here", true, false};
        if (response.silent)
            return;
        QByteArray head = "HTTP/1.1 " + response.statusLine + "\r\n" + response.extraHeaders;
        if (response.sendLength)
            head += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
        head += "Connection: close\r\n\r\n";
        socket->write(head + response.body);
        socket->disconnectFromHost();
    }

    QTcpServer server_;
    std::map<QByteArray, CannedResponse> routes_;
    std::map<QTcpSocket*, QByteArray> pending_;
};

// Runs `act` on the message box as soon as it is shown modally.
void whenMessageBoxShows(std::function<void(QMessageBox*)> act) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(box);
        }
    });
    poll->start();
}

// The page count a PDF file declares in its page tree.
int pdfPages(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression count(QStringLiteral("/Count (\\d+)"));
    const QRegularExpressionMatch match = count.match(QString::fromLatin1(file.readAll()));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

bool offscreen() { return QGuiApplication::platformName() != QLatin1String("xcb"); }

}  // namespace

// ---------------------------------------------------------------------------

TEST(QtPlatformClock, WeekdayCountsFromSunday) {
    const struct {
        QDate date;
        int weekday;
    } cases[] = {
        {QDate(2024, 1, 7), 1},   // Sunday
        {QDate(2024, 1, 8), 2},   // Monday
        {QDate(2024, 1, 12), 6},  // Friday
        {QDate(2024, 1, 13), 7},  // Saturday
        {QDate(2000, 1, 1), 7},   // Saturday
        {QDate(2017, 5, 1), 2},   // Monday
    };
    for (const auto& c : cases)
        EXPECT_EQ(penvox::weekdayOf(c.date), c.weekday) << c.date.toString(Qt::ISODate).toStdString();
}

TEST(QtPlatformClock, WaitKeepsHandlingEvents) {
    QtPlatform platform(QString{});
    bool timerRan = false;
    QTimer::singleShot(10, [&] { timerRan = true; });
    QElapsedTimer clock;
    clock.start();
    platform.waitMs(60);
    EXPECT_TRUE(timerRan);
    EXPECT_GE(clock.elapsed(), 55);
}

TEST(QtPlatformChance, RandomIntIsInclusiveAtBothEnds) {
    QtPlatform platform(QString{});
    std::set<int> seen;
    for (int i = 0; i < 600; ++i) {
        const int value = platform.randomInt(1, 3);
        ASSERT_GE(value, 1);
        ASSERT_LE(value, 3);
        seen.insert(value);
    }
    EXPECT_EQ(seen, (std::set<int>{1, 2, 3}));
    EXPECT_EQ(platform.randomInt(5, 5), 5);
    for (int i = 0; i < 50; ++i) {
        const int top = platform.randomInt(INT_MAX - 1, INT_MAX);
        EXPECT_GE(top, INT_MAX - 1);
        const int bottom = platform.randomInt(INT_MIN, INT_MIN + 1);
        EXPECT_LE(bottom, INT_MIN + 1);
    }
}

// ---------------------------------------------------------------------------

TEST(QtPlatformRegistry, ValueRoundTripsThroughTheFileInGbk) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("config/penvox/registry.ini"));  // folders not there yet
    {
        QtPlatform platform(file);
        EXPECT_EQ(platform.registryValue(), QString());
        platform.setRegistryValue(QStringLiteral("张三 road 7"));
        EXPECT_EQ(platform.registryValue(), QStringLiteral("张三 road 7"));
    }
    QFile raw(file);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    EXPECT_TRUE(bytes.contains("[software\\penvox]")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("dizhi=\xD5\xC5\xC8\xFD road 7")) << "the value is stored as GBK bytes";

    QtPlatform again(file);  // a later run reads what an earlier one wrote
    EXPECT_EQ(again.registryValue(), QStringLiteral("张三 road 7"));
    again.setRegistryValue(QStringLiteral("李四"));
    EXPECT_EQ(again.registryValue(), QStringLiteral("李四"));
}

// ---------------------------------------------------------------------------

TEST(QtPlatformHttp, AnswersFromALocalServer) {
    TinyHttpServer server;
    ASSERT_TRUE(server.listening());
    const QByteArray oneMiB(QtPlatform::kMaxBodyBytes, 'x');
    const QByteArray tooLarge(QtPlatform::kMaxBodyBytes + 1, 'y');
    server.route("/small", {"200 OK", "Content-Type: text/plain; charset=GBK\r\n", "\xC4\xE3\xBA\xC3 hello", true});
    server.route("/limit", {"200 OK", {}, oneMiB, true});
    server.route("/large", {"200 OK", {}, tooLarge, true});
    server.route("/large-unannounced", {"200 OK", {}, tooLarge, false});
    server.route("/moved", {"302 Found", "Location: /small\r\n", {}, true});
    server.route("/broken", {"500 Internal Server Error", {}, "stack trace", true});
    server.route("/empty", {"200 OK", {}, {}, true});

    const struct {
        const char* path;
        QByteArray expected;
    } cases[] = {
        {"/small", "\xC4\xE3\xBA\xC3 hello"},  // the body's bytes, untouched
        {"/limit", oneMiB},                    // exactly 1 MiB is still accepted
        {"/large", {}},                        // announced as too large
        {"/large-unannounced", {}},            // found too large while reading
        {"/moved", "\xC4\xE3\xBA\xC3 hello"},  // redirects are followed
        {"/broken", {}},                       // an error status gives nothing
        {"/missing", {}},
        {"/empty", {}},
    };
    QtPlatform platform(QString{});
    for (const auto& c : cases) {
        const QByteArray body = platform.httpGet(server.url(QString::fromLatin1(c.path)), 10000);
        EXPECT_EQ(body.size(), c.expected.size()) << c.path;
        EXPECT_TRUE(body == c.expected) << c.path;
    }
}

TEST(QtPlatformHttp, FailsWithinTheTimeout) {
    QtPlatform platform(QString{});
    QElapsedTimer clock;

    // A port nobody listens on.
    quint16 closedPort = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        closedPort = probe.serverPort();
    }
    clock.start();
    EXPECT_TRUE(platform.httpGet(QStringLiteral("http://127.0.0.1:%1/").arg(closedPort), 3000).isEmpty());
    EXPECT_LT(clock.elapsed(), 3000);

    // A server that accepts the connection and never answers.
    TinyHttpServer server;
    server.route("/silent", {"200 OK", {}, {}, true, true});
    clock.restart();
    EXPECT_TRUE(platform.httpGet(server.url(QStringLiteral("/silent")), 300).isEmpty());
    EXPECT_GE(clock.elapsed(), 250);
    EXPECT_LT(clock.elapsed(), 3000);

    // A host that cannot be resolved (no network here, or a reserved name).
    clock.restart();
    EXPECT_TRUE(platform.httpGet(QStringLiteral("http://penvox.invalid/check"), 2000).isEmpty());
    EXPECT_LT(clock.elapsed(), 3000);
}

TEST(QtPlatformHttp, RefusesWhatIsNotAWebAddress) {
    QtPlatform platform(QString{});
    for (const char* url : {"", "not a url", "file:///etc/hostname", "ftp://127.0.0.1/x", "http:///nohost"})
        EXPECT_TRUE(platform.httpGet(QString::fromLatin1(url), 1000).isEmpty()) << url;
}

// ---------------------------------------------------------------------------

TEST(QtPlatformMessageBox, ReturnsThePressedButtonAndTreatsClosingAsTheSafeAnswer) {
    const struct {
        Buttons buttons;
        QMessageBox::StandardButton click;  // NoButton: close the box instead
        Answer expected;
    } cases[] = {
        {Buttons::Ok, QMessageBox::Ok, Answer::Ok},
        {Buttons::Ok, QMessageBox::NoButton, Answer::Ok},
        {Buttons::OkCancel, QMessageBox::Ok, Answer::Ok},
        {Buttons::OkCancel, QMessageBox::NoButton, Answer::Cancel},
        {Buttons::YesNo, QMessageBox::Yes, Answer::Yes},
        {Buttons::YesNo, QMessageBox::NoButton, Answer::No},
        {Buttons::YesNoCancel, QMessageBox::No, Answer::No},
        {Buttons::YesNoCancel, QMessageBox::NoButton, Answer::Cancel},
    };
    QtPlatform platform(QString{});
    for (const auto& c : cases) {
        whenMessageBoxShows([&c](QMessageBox* box) {
            if (c.click == QMessageBox::NoButton)
                box->close();
            else
                box->button(c.click)->click();
        });
        EXPECT_EQ(platform.messageBox(nullptr, QStringLiteral("标题"), QStringLiteral("正文"), c.buttons),
                  c.expected)
            << static_cast<int>(c.buttons) << " " << c.click;
    }
}

TEST(QtPlatformMessageBox, ShowsTitleIconAndTextAsPlainText) {
    QtPlatform platform(QString{});
    QString title, text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QMessageBox::StandardButton> shown;
    whenMessageBoxShows([&](QMessageBox* box) {
        title = box->windowTitle();
        text = box->text();
        format = box->textFormat();
        icon = box->icon();
        for (QAbstractButton* button : box->buttons())
            shown.append(box->standardButton(button));
        box->button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(platform.messageBox(nullptr, QStringLiteral("保存"), QStringLiteral("<b>a</b> 保存吗？"),
                                  Buttons::YesNoCancel, BoxIcon::Information),
              Answer::Yes);
    EXPECT_EQ(title, QStringLiteral("保存"));
    EXPECT_EQ(text, QStringLiteral("<b>a</b> 保存吗？"));
    EXPECT_EQ(format, Qt::PlainText);  // the writer's "<b>" is shown, not obeyed
    EXPECT_EQ(icon, QMessageBox::Information);
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, (QList<QMessageBox::StandardButton>{QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}));
}

// ---------------------------------------------------------------------------

TEST(QtPlatformHotKeys, RegistrationGivesDistinctIdsAndRefusesTakenKeys) {
    if (!offscreen())
        GTEST_SKIP() << "under X11 the keys are grabbed on the real server";
    QtPlatform platform(QString{});
    const int f8 = platform.registerHotKey(penvox::vk::F8);
    const int f9 = platform.registerHotKey(penvox::vk::F9);
    EXPECT_NE(f8, 0);
    EXPECT_NE(f9, 0);
    EXPECT_GT(f9, f8);
    EXPECT_EQ(platform.registerHotKey(penvox::vk::F8), 0) << "the program already holds F8";
    EXPECT_EQ(platform.registerHotKey(65), 0) << "only F1 to F12 are hot keys";
    EXPECT_GT(platform.registerHotKey(penvox::vk::F1), f9);
}

TEST(QtPlatformHotKeys, KeysWorkThroughoutTheApplication) {
    if (!offscreen())
        GTEST_SKIP() << "under X11 the keys are grabbed on the real server";
    QtPlatform platform(QString{});
    const int f8 = platform.registerHotKey(penvox::vk::F8);
    const int f9 = platform.registerHotKey(penvox::vk::F9);
    ASSERT_EQ(platform.registerHotKey(penvox::vk::F8), 0);  // the first registration stays in force
    QList<int> fired;
    platform.setHotKeyHandler([&](int id) { fired.append(id); });

    QWidget window;
    auto* editor = new QLineEdit(&window);
    editor->setObjectName(QStringLiteral("editor"));
    auto* menuAction = new QAction(&window);
    menuAction->setShortcut(Qt::Key_F8);
    window.addAction(menuAction);
    int menuTriggered = 0;
    QObject::connect(menuAction, &QAction::triggered, [&] { ++menuTriggered; });
    window.show();
    window.activateWindow();
    editor->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QLineEdit* focused = window.findChild<QLineEdit*>(QStringLiteral("editor"));
    ASSERT_NE(focused, nullptr);

    QKeyEvent press(QEvent::KeyPress, Qt::Key_F8, Qt::NoModifier);
    QApplication::sendEvent(focused, &press);
    EXPECT_EQ(fired, QList<int>{f8});
    EXPECT_TRUE(press.isAccepted());

    fired.clear();
    QTest::keyClick(focused, Qt::Key_F9);
    QTest::keyClick(focused, Qt::Key_F8);  // through the shortcut machinery, as a real key comes
    EXPECT_EQ(fired, (QList<int>{f9, f8}));
    EXPECT_EQ(menuTriggered, 0) << "the hot key comes before a shortcut on the same key";

    fired.clear();
    QTest::keyClick(focused, Qt::Key_F8, Qt::ShiftModifier);  // another key combination
    QTest::keyClick(focused, Qt::Key_F10);                    // not registered
    QTest::keyClick(focused, Qt::Key_A);
    EXPECT_TRUE(fired.isEmpty());
    EXPECT_EQ(focused->text(), QStringLiteral("a"));
}

// ---------------------------------------------------------------------------

TEST(QtPlatformSound, RecordingIsWrittenAsCanonicalWav) {
    QByteArray pcm;
    for (int i = 0; i < 5; ++i)
        pcm.append(static_cast<char>(i));  // two and a half samples
    const QByteArray wav = penvox::wavFromPcm16Mono(pcm, 8000);
    ASSERT_EQ(wav.size(), 44 + 4);
    auto u32 = [&](int at) { return qFromLittleEndian<quint32>(wav.constData() + at); };
    auto u16 = [&](int at) { return qFromLittleEndian<quint16>(wav.constData() + at); };
    EXPECT_EQ(wav.left(4), "RIFF");
    EXPECT_EQ(u32(4), 36u + 4u);
    EXPECT_EQ(wav.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(u32(16), 16u);     // fmt chunk size
    EXPECT_EQ(u16(20), 1u);      // PCM
    EXPECT_EQ(u16(22), 1u);      // mono
    EXPECT_EQ(u32(24), 8000u);   // sample rate
    EXPECT_EQ(u32(28), 16000u);  // byte rate
    EXPECT_EQ(u16(32), 2u);      // block align
    EXPECT_EQ(u16(34), 16u);     // bits per sample
    EXPECT_EQ(wav.mid(36, 4), "data");
    EXPECT_EQ(u32(40), 4u);
    EXPECT_EQ(wav.mid(44), pcm.left(4));

    EXPECT_EQ(penvox::wavFromPcm16Mono({}, 8000).size(), 44);
}

TEST(QtPlatformSound, KeySoundsNeverHoldUpTheCallerAndMissingFilesDoNotPlay) {
    QtPlatform platform(QString{});
    const QByteArray click = penvox::wavFromPcm16Mono(QByteArray(800, '\0'), 8000);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 200; ++i)
        platform.playSound(click);
    EXPECT_LT(clock.elapsed(), 2000);
    platform.playSound({});  // nothing to play is no fault either

    QTemporaryDir dir;
    EXPECT_FALSE(platform.playFile(dir.filePath(QStringLiteral("absent.wav"))));
    EXPECT_FALSE(platform.playFile(dir.path()));  // a folder is no sound file
    platform.pausePlayback();
    platform.stopPlayback();

    if (QMediaDevices::defaultAudioInput().isNull()) {
        const QString recording = dir.filePath(QStringLiteral("voice.wav"));
        EXPECT_FALSE(platform.startRecording(recording)) << "no microphone, no recording";
        platform.stopRecording();
        EXPECT_FALSE(QFile::exists(recording));
    }
}

// ---------------------------------------------------------------------------

TEST(QtPlatformPrinting, LinesBreakAtThePageWidthAndFillPages) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto print = [&](const QString& name, const QStringList& lines) {
        const QString path = dir.filePath(name);
        QPdfWriter writer(path);
        writer.setPageSize(QPageSize(QPageSize::A4));
        const int pages = penvox::paintLines(writer, lines);
        return std::pair{pages, path};
    };

    const auto [fewPages, fewPath] =
        print(QStringLiteral("few.pdf"), {QStringLiteral("第一行"), QString(), QStringLiteral("third line")});
    EXPECT_EQ(fewPages, 1);
    EXPECT_EQ(pdfPages(fewPath), 1);

    QStringList many;
    for (int i = 0; i < 400; ++i)
        many << QStringLiteral("行 %1").arg(i);
    const auto [manyPages, manyPath] = print(QStringLiteral("many.pdf"), many);
    EXPECT_GT(manyPages, 2);
    EXPECT_EQ(pdfPages(manyPath), manyPages);

    // One paragraph far wider than the page: wrapped, it runs over pages;
    // cut off at the margin it would have stayed on one.
    const auto [longPages, longPath] = print(QStringLiteral("long.pdf"), {QString(20000, QChar(0x4E2D))});
    EXPECT_GT(longPages, 1);
    EXPECT_EQ(pdfPages(longPath), longPages);

    // Breaks inside an entry count as line breaks too.
    EXPECT_EQ(print(QStringLiteral("split.pdf"), {many.join(QStringLiteral("\r\n"))}).first, manyPages);
}
