#include "app_harness.h"

#include "app/settings_file.h"
#include "app/stats_window.h"

#include <QAction>
#include <QFile>

namespace penvox::testing {

AppTest::AppTest() { platform.setNow(2026, 12, 11, 10, 30, 0); }

AppTest::~AppTest() {
    if (window) window->hide();
    window.reset();
    settle();
}

void AppTest::TearDown() {
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
    QWidget* widget = find(name);
    if (widget) QTest::keyClicks(widget, text);
}

void AppTest::pressKey(const QString& name, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QWidget* widget = find(name);
    if (widget) QTest::keyClick(widget, key, modifiers);
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
