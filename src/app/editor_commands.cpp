// The editor's commands: insert at caret, the time stamp, the divider, the
// expression calculation, the common phrases, and the key-pressed handler
// that plays the key sound first.
#include "app/editor_adapter.h"
#include "app/gbk_text.h"
#include "app/main_window.h"
#include "app/pane_status_bar.h"
#include "app/settings_panel.h"
#include "app/texts.h"
#include "core/arithmetic.h"
#include "core/insertions.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QFile>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace penvox {

namespace {
headers::Moment momentOf(const LocalDateTime& now) {
    return {now.year, now.month, now.day, now.hour, now.minute, now.second, now.weekday};
}
}  // namespace

void MainWindow::connectEditorTools() {
    editorBox->installEventFilter(this);
    connect(editorBox, &QPlainTextEdit::textChanged, this, &MainWindow::textChanged);
    connect(statusBar, &PaneStatusBar::clicked, this, &MainWindow::openStatsWindow);
    connect(panel_->autoSave, &QCheckBox::clicked, this, &MainWindow::autoSaveClicked);
    connect(panel_->refreshTasks, &QPushButton::clicked, this, &MainWindow::refreshTasks);

    const auto on = [this](const QString& item, auto command) {
        connect(menus_->item(item), &QAction::triggered, this, command);
    };
    on(QStringLiteral("当前时间（F5）"), [this] { timeStampCommand(true); });
    on(QStringLiteral("分割线（Ctrl+L）"), [this] { dividerCommand(); });
    on(QStringLiteral("计算表达式（Ctrl+M)"), [this] { calculationCommand(); });
    on(QStringLiteral("日程（F4）"), [this] { openScheduleWindow(); });
    // The menu entries of find and replace refuse outside the writing state.
    const auto afterStart = [this](void (MainWindow::*open)()) {
        return [this, open] {
            if (!editorBox->isEnabled()) {
                state_.platform.messageBox(this, texts::kProgramTitle, QStringLiteral("开始书写后再使用吧。"));
                return;
            }
            (this->*open)();
        };
    };
    on(QStringLiteral("查找文本（Ctrl+F）"), afterStart(&MainWindow::openFindWindow));
    on(QStringLiteral("替换文本（Ctrl+H）"), afterStart(&MainWindow::openReplaceWindow));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == editorBox && event->type() == QEvent::KeyPress)
        return editorKeyPressed(static_cast<QKeyEvent*>(event));
    return QWidget::eventFilter(watched, event);
}

std::size_t MainWindow::spliceAtSelectionStart(const std::string& gbkText) {
    // Inserted through a cursor of its own, so the writer's undo history and
    // scroll position survive; the result is the same text as rewriting it.
    const std::size_t start = editorAdapter_.selectionStart();
    const QString plain = editorBox->toPlainText();
    const std::size_t index = gbk::editorIndexOfByte(utf16Of(plain), start);
    QTextCursor cursor(editorBox->document());
    cursor.setPosition(static_cast<int>(index));
    cursor.insertText(EditorAdapter::toEditorBreaks(fromGbk(gbkText)));
    return start + gbkText.size();
}

void MainWindow::placeCaret(std::size_t offset) {
    editorBox->setFocus();
    editorAdapter_.setSelection(offset, 0);
}

void MainWindow::insertAtCaret(const std::string& gbkText) { placeCaret(spliceAtSelectionStart(gbkText)); }

EditorTools MainWindow::editorTools() {
    return EditorTools{state_, editorAdapter_, editorBox, this,
                       [this](const std::string& text) { return spliceAtSelectionStart(text); },
                       [this](std::size_t offset) { placeCaret(offset); }};
}

void MainWindow::timeStampCommand(bool withSpaces) {
    if (!editorBox->isEnabled()) {
        state_.platform.messageBox(this, texts::kProgramTitle,
                                   QStringLiteral("这是一键添加当前时间按钮。请开始书写之后使用本按钮"));
        return;
    }
    std::string stamp = insertions::timeStamp(momentOf(state_.platform.now()));
    if (withSpaces) stamp = " " + stamp + " ";
    insertAtCaret(toGbk(QString::fromStdString(stamp)));
}

void MainWindow::dividerCommand() { insertAtCaret(toGbk(QString::fromStdString(insertions::dividerLine()))); }

void MainWindow::calculationCommand() {
    const bool selection = editorAdapter_.selectionLength() > 0;
    QTextCursor target = editorBox->textCursor();
    if (!selection) target.select(QTextCursor::Document);
    std::string expression = toGbk(EditorAdapter::toProgramBreaks(target.selectedText().replace(QChar(0x2029), QLatin1Char('\n'))));
    if (!expression.empty() && expression.back() == '=') expression.pop_back();
    const QString value = QString::fromStdString(arithmetic::calculate(expression));
    target.insertText(EditorAdapter::toEditorBreaks(fromGbk(expression)) + QStringLiteral(" = ") + value);
    state_.platform.setClipboardText(value);
    statusBar->setPaneText(1, QStringLiteral("计算结果：") + value);
    if (!value.isEmpty()) {
        state_.settings.write(QStringLiteral("软件设置"), QStringLiteral("新手5"), texts::kTrue);
        return;
    }
    state_.platform.messageBox(
        this, texts::kProgramTitle,
        QStringLiteral("1、请先输入表达式并选中，然后计算。如：\r\n\r\n") + QString(20, QLatin1Char(' ')) +
            QStringLiteral("(1234+5678)*90/100=\r\n\r\n2、如果文档中只有一个表达式，无须选中即可计算。   \r\n"
                           "等号可以省略。计算结果被自动保存在剪贴板上。"),
        Buttons::Ok, BoxIcon::Information);
}

void MainWindow::phraseCommand(int slot) {
    const QString phrase = state_.settings.text(QStringLiteral("快捷设置"), QString::number(slot));
    insertAtCaret(toGbk(phrase));
}

void MainWindow::playKeySound() {
    static const char* const kSounds[] = {nullptr, ":/sounds/classic.wav", ":/sounds/apple.wav", ":/sounds/drop.wav"};
    const int index = panel_->keySoundCombo->currentIndex();
    if (index < 1 || index > 3) return;
    QByteArray& image = keySounds_[index - 1];
    if (image.isEmpty()) {
        QFile file(QString::fromLatin1(kSounds[index]));
        if (file.open(QIODevice::ReadOnly)) image = file.readAll();
    }
    if (!image.isEmpty()) state_.platform.playSound(image);
}

bool MainWindow::editorKeyPressed(QKeyEvent* event) {
    playKeySound();  // every key, before any command
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    if (modifiers == Qt::ControlModifier) {
        switch (key) {
        case Qt::Key_A:
            editorBox->setFocus();
            editorBox->selectAll();
            return true;
        case Qt::Key_L: dividerCommand(); return true;
        case Qt::Key_M: calculationCommand(); return true;
        case Qt::Key_F: openFindWindow(); return true;
        case Qt::Key_H: openReplaceWindow(); return true;
        default:
            if (key >= Qt::Key_1 && key <= Qt::Key_9) {
                phraseCommand(key - Qt::Key_1);
                return true;
            }
            if (key == Qt::Key_0) {
                phraseCommand(9);
                return true;
            }
        }
    }
    if (key == Qt::Key_F2) {
        largeFontSwitch();
        return true;
    }
    if (key == Qt::Key_F5) {
        timeStampCommand(false);
        return true;
    }
    return false;
}

}  // namespace penvox
