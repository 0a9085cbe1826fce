#pragma once
// The main window `窗口`: borderless, drawing its own frame from ordinary
// controls around the title box and the editor. Construction builds the
// design; start() is the window's created event (start-up), closing it runs
// shut-down.
#include "app/app_state.h"
#include "app/backup_writer.h"
#include "app/editor_adapter.h"
#include "app/editor_tools.h"
#include "app/search_memory.h"
#include "app/start_menus.h"

#include <QByteArray>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSystemTrayIcon;
class QTimer;

namespace penvox {

class FrameLabel;
class PaneStatusBar;
class SettingsPanel;
class StatsWindow;

class MainWindow : public QWidget {
    Q_OBJECT
public:
    MainWindow(Platform& platform, const RunPlaces& places);
    ~MainWindow() override;

    // The created event: the whole start-up sequence.
    void start();

    AppState& state() { return state_; }
    EditorAdapter& editor() { return editorAdapter_; }
    StatsWindow* statsWindow() const { return stats_.get(); }
    SettingsPanel* settingsPanel() const { return panel_; }
    const StartMenus& menus() const { return *menus_; }
    QSystemTrayIcon* trayIcon() const { return tray_; }

    // The layout, run after every change of size, status bar, transparency or settings.
    void runLayout();
    // The statistics window against the right edge, bottom-aligned.
    void dockStatsWindow();
    // The single dispatcher of the global hot keys (the hot-key event of `标签1`).
    void dispatchHotKey(int id);
    // The transparency check box `透明化选择` was clicked.
    void transparencySwitch();
    // Main window and statistics window always on top together.
    void setBothOnTop(bool onTop);
    // The tray icon's buttons.
    void restoreFromTray();
    void trayMenuAt(QPoint mousePos);
    // Pops up the start menu under the start button.
    void popUpStartMenu();
    QPoint startMenuPoint() const;
    // The caption label's double click: maximise or restore.
    void toggleMaximised();

    // Writing: the start command, the five kinds, end writing and clearing.
    void startCommand();
    void temporaryTextCommand();
    void articleCommand();
    void diaryCommand();
    void scheduleCommand();
    void shoppingListCommand();
    void endWriting();
    void clearCommand();
    bool inDiary() const;

    // Documents: opening, dropping, a second window, saving.
    enum OpenFilter { AllSupported = 0, WavFiles = 5 };
    void openRoutine(const QString& path, int filterIndex = AllSupported);
    void dropFile(const QString& path);
    void dropText(const QString& text);
    void openNewWindow();
    enum class SaveOutcome { Saved, NotSaved, Failed };
    SaveOutcome saveNow();
    // Whether the text being written differs from its file (or has none).
    bool textNeedsSaving();

    // Statistics, backup and points.
    void textChanged();
    void openStatsWindow();
    void refreshTasks();
    void storePointsTotal();
    QString backupFolder() const;
    void runManuscriptRecovery();
    // Waits until every backup copy handed over so far is on disk.
    void flushBackups();

    // Editor commands.
    EditorTools editorTools();
    SearchMemory& searchMemory() { return searchMemory_; }
    void insertAtCaret(const std::string& gbkText);
    void timeStampCommand(bool withSpaces);
    void dividerCommand();
    void calculationCommand();
    void phraseCommand(int slot);
    // The editor's key-pressed handler; true when the key ran a command.
    bool editorKeyPressed(QKeyEvent* event);
    void openFindWindow();
    void openReplaceWindow();
    void openScheduleWindow();
    void openShoppingWindow();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

    // Hand-overs to features that arrive later: each does nothing yet.
    virtual void runFirstUseWizard() {}
    virtual void runSettingsOkAction() {}
    virtual void runUpdateCheck() {}
    virtual void applyBackgroundColourToThemedControls() {}
    // Applies the stored custom background; true when its picture mode is on.
    virtual bool applyCustomBackground() { return false; }
    virtual void repaintCustomBackground() {}
    // Hands a recording to the WAV player.
    virtual void openWavPlayer(const QString& path) { (void)path; }
    // The large-font switch of F2.
    virtual void largeFontSwitch() {}
    // Ends the program once shut-down is done.
    virtual void endProgram();

private:
    void buildDesign();
    void connectFrame();
    void buildTrayIcon();
    void startUpFirstUse();  // the body of start-up's first-use step
    void connectWriting();
    void routeDrops();
    // The controls that always follow the writing state.
    void showWritingState(bool writing);
    void applyDiaryColours();
    void restoreNormalColours();
    void moveCaretToEnd();
    // Offers to save unsaved writing at shut-down; false keeps the program open.
    bool offerToSaveWriting();
    // Saving pieces.
    enum class WriteKind { Plain, Encrypted };
    bool writeText(const QString& path, WriteKind kind);
    SaveOutcome saveToChosenFile();
    QString askPassword();
    // Reads a file for opening; shows why and returns nothing when it cannot.
    std::optional<std::string> readForOpening(const QString& path);
    void enterLoadedDocument(const QString& path, const QString& title);
    void connectEditorTools();
    void writeBackup(const QString& editorText);
    void autoSaveClicked();
    std::size_t spliceAtSelectionStart(const std::string& gbkText);
    void placeCaret(std::size_t offset);
    void playKeySound();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void centreOnScreen();
    bool shutDown();

    // Moving and resizing where the window system cannot do it for us.
    void beginMove(QPoint globalPos);
    void beginResize(Qt::Edges edges, QPoint globalPos);
    void dragTo(QPoint globalPos);

    AppState state_;
    std::unique_ptr<StartMenus> menus_;
    std::unique_ptr<StatsWindow> stats_;

public:
    // The controls of the frame and the working area, by their design names.
    FrameLabel* captionLabel = nullptr;     // 标题栏
    FrameLabel* closeLabel = nullptr;       // 关闭按钮
    FrameLabel* minimiseLabel = nullptr;    // 最小化按钮1
    FrameLabel* gripTopLeft = nullptr;      // 左上调节器
    FrameLabel* gripTop = nullptr;          // 上调节器
    FrameLabel* gripTopRight = nullptr;     // 右上调节器
    FrameLabel* gripLeft = nullptr;         // 左侧调节器
    FrameLabel* gripRight = nullptr;        // 右调节器
    FrameLabel* gripBottomLeft = nullptr;   // 左下调节器
    FrameLabel* gripBottom = nullptr;       // 下调节器
    FrameLabel* gripBottomRight = nullptr;  // 右下调节器
    QLabel* headerPicture = nullptr;        // 背景
    FrameLabel* startButton = nullptr;      // 开始按钮
    FrameLabel* titlePrompt = nullptr;      // 章节名称提示
    QLineEdit* titleBox = nullptr;          // 章节名称
    FrameLabel* writingButton = nullptr;    // 书写
    FrameLabel* recordButton = nullptr;     // 录音按钮
    QPlainTextEdit* editorBox = nullptr;    // 编辑框1
    PaneStatusBar* statusBar = nullptr;     // 状态条1
    QLabel* hotKeyLabel = nullptr;          // 标签1
    QPushButton* startWritingButton = nullptr;  // 开始书写按钮
    QTimer* tipTimer = nullptr;             // 时钟1

private:
    SettingsPanel* panel_ = nullptr;
    EditorAdapter editorAdapter_{nullptr};
    QSystemTrayIcon* tray_ = nullptr;
    bool shutDownDone_ = false;
    SearchMemory searchMemory_;
    BackupWriter backupWriter_;
    QByteArray keySounds_[3];

    enum class Drag { None, Move, Resize };
    Drag drag_ = Drag::None;
    Qt::Edges dragEdges_;
    QPoint dragStart_;
    QRect dragStartGeometry_;
};

}  // namespace penvox
