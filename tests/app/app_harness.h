#pragma once
// The harness every application test builds on: the real main window with the
// scripted fake platform, in temporary run and working directories, driven
// through object names.
#include "app/main_window.h"
#include "app/stats_window.h"
#include "platform/fake_platform.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

namespace penvox::testing {

// The main window with its hand-overs to later features counted.
class ProbeWindow : public MainWindow {
public:
    using MainWindow::MainWindow;

    int wizardRuns = 0;
    int okActions = 0;
    int updateChecks = 0;
    int programEnds = 0;
    int backgroundRepaints = 0;
    QStringList playerFiles;
    // What the wizard does while it runs (e.g. write its settings).
    std::function<void()> wizard;

protected:
    void runFirstUseWizard() override {
        ++wizardRuns;
        if (wizard) wizard();
    }
    void runSettingsOkAction() override { ++okActions; }
    void runUpdateCheck() override { ++updateChecks; }
    void endProgram() override { ++programEnds; }
    void repaintCustomBackground() override { ++backgroundRepaints; }
    void openWavPlayer(const QString& path) override { playerFiles << path; }
};

class AppTest : public ::testing::Test {
protected:
    AppTest();
    ~AppTest() override;
    void TearDown() override;

    // Builds the main window (the design only).
    ProbeWindow& makeWindow();
    // Builds it and runs start-up, then shows it as the program does.
    ProbeWindow& startWindow();

    // A control of the main window, the settings panel or the statistics window.
    template <typename T = QWidget>
    T* find(const QString& name) const {
        T* found = findIn<T>(name);
        EXPECT_NE(found, nullptr) << "no control named " << name.toStdString();
        return found;
    }
    QAction* menuItem(const QString& text) const;

    void click(const QString& name, Qt::MouseButton button = Qt::LeftButton);
    void doubleClick(const QString& name);
    void typeInto(const QString& name, const QString& text);
    static void typeText(QWidget* widget, const QString& text);
    void pressKey(const QString& name, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // The visible top-level window with this object name, or nullptr.
    static QWidget* openWindow(const QString& name);
    // Lets queued events (resizes, moves, shows) happen.
    static void settle();
    // Runs `action` on the next modal window of the program (by object name)
    // once it is open; the test fails if none opens.
    void onNextModal(const QString& name, std::function<void(QWidget*)> action);
    // Answers the password window with `password` (typed, then confirmed).
    void answerPassword(const QString& password);
    int modalsHandled = 0;
    int modalsExpected = 0;

    // Settings of the run directory (before or after start-up).
    QString setting(const QString& section, const QString& key) const;
    void putSetting(const QString& section, const QString& key, const QString& value) const;
    QString settingsPath() const;

    FakePlatform platform;
    QTemporaryDir runDir;
    QTemporaryDir workDir;
    std::unique_ptr<ProbeWindow> window;

private:
    template <typename T>
    T* findIn(const QString& name) const {
        if (!window) return nullptr;
        if (window->objectName() == name) return qobject_cast<T*>(window.get());
        if (T* found = window->findChild<T*>(name)) return found;
        QWidget* stats = window->statsWindow();
        if (stats->objectName() == name) return qobject_cast<T*>(stats);
        return stats->findChild<T*>(name);
    }
};

}  // namespace penvox::testing
