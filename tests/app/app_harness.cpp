#include "app_harness.h"

#include "app/settings_file.h"
#include "app/stats_window.h"

#include <QAction>
#include <QFile>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace penvox::testing {

AppTest::AppTest() { platform.setNow(2026, 12, 11, 10, 30, 0); }

AppTest::~AppTest() {
    if (window) window->hide();
    window.reset();
    settle();
}

void AppTest::TearDown() {
    EXPECT_EQ(modalsHandled, modalsExpected) << "a scripted window never opened";
    EXPECT_TRUE(platform.unexpected.isEmpty()) << platform.unexpected.join(QStringLiteral("\n")).toStdString();
    // Files left read-only by a shut-down must not stop the temporary folder's removal.
    QFile::setPermissions(settingsPath(), QFile::ReadOwner | QFile::WriteOwner);
}

ProbeWindow& AppTest::makeWindow() {
    window = std::make_unique<ProbeWindow>(platform, RunPlaces{runDir.path(), workDir.path()});
    return *window;
}

ProbeWindow& AppTest::startWindow() {
    if (!window) makeWindow();
    window->start();
    window->show();
    settle();
    return *window;
}

QAction* AppTest::menuItem(const QString& text) const {
    QAction* item = window ? window->menus().item(text) : nullptr;
    EXPECT_NE(item, nullptr) << "no menu item " << text.toStdString();
    return item;
}

void AppTest::click(const QString& name, Qt::MouseButton button) {
    QWidget* widget = find(name);
    if (widget) QTest::mouseClick(widget, button, Qt::NoModifier, widget->rect().center());
}

void AppTest::doubleClick(const QString& name) {
    QWidget* widget = find(name);
    if (widget) QTest::mouseDClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

void AppTest::typeInto(const QString& name, const QString& text) {
    if (QWidget* widget = find(name)) typeText(widget, text);
}

void AppTest::typeText(QWidget* widget, const QString& text) {
    // ASCII arrives as key presses; everything else as an input method's
    // committed text, the way Chinese reaches the program.
    QString pending;
    const auto commit = [&] {
        if (pending.isEmpty()) return;
        QInputMethodEvent event;
        event.setCommitString(pending);
        QApplication::sendEvent(widget, &event);
        pending.clear();
    };
    for (const QChar ch : text) {
        if (ch.unicode() < 0x80) {
            commit();
            QTest::keyClicks(widget, QString(ch));
        } else {
            pending += ch;
        }
    }
    commit();
}

void AppTest::pressKey(const QString& name, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QWidget* widget = find(name);
    if (widget) QTest::keyClick(widget, key, modifiers);
}

void AppTest::onNextModal(const QString& name, std::function<void(QWidget*)> action) {
    ++modalsExpected;
    auto* poll = new QTimer;
    poll->setInterval(5);
    auto attempts = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [this, poll, name, action, attempts] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->objectName() == name) {
            poll->stop();
            poll->deleteLater();
            ++modalsHandled;
            action(modal);
        } else if (++*attempts > 400) {  // two seconds
            poll->stop();
            poll->deleteLater();
        }
    });
    poll->start();
}

void AppTest::answerPassword(const QString& password) {
    onNextModal(QStringLiteral("pxt密码输入"), [password](QWidget* window) {
        auto* box = window->findChild<QLineEdit*>(QStringLiteral("编辑框1"));
        box->selectAll();
        box->del();
        typeText(box, password);
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("信息2")), Qt::LeftButton);
    });
}

QWidget* AppTest::openWindow(const QString& name) {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == name && widget->isVisible()) return widget;
    // Companion windows may be children of the main window that are windows of their own.
    for (QWidget* widget : QApplication::allWidgets())
        if (widget->isWindow() && widget->objectName() == name && widget->isVisible()) return widget;
    return nullptr;
}

void AppTest::settle() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

QString AppTest::settingsPath() const { return runDir.path() + QStringLiteral("/setting.ini"); }

QString AppTest::setting(const QString& section, const QString& key) const {
    return SettingsFile(settingsPath()).text(section, key);
}

void AppTest::putSetting(const QString& section, const QString& key, const QString& value) const {
    SettingsFile(settingsPath()).write(section, key, value);
}

}  // namespace penvox::testing
