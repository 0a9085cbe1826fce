// The writing state and the five kinds of writing: the start command, the
// kind commands, end writing and the clear command.
#include "app/colour_picker.h"
#include "app/colours.h"
#include "app/frame_label.h"
#include "app/main_window.h"
#include "app/pane_status_bar.h"
#include "app/pictures.h"
#include "app/settings_panel.h"
#include "app/texts.h"
#include "app/window_flags.h"
#include "core/header_lines.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace penvox {

namespace {

const QString kSoftware = QStringLiteral("软件设置");
const QString kRefuseNewKind = QStringLiteral("当前正在编辑文档呢，您可以保存或清空当前编辑来创建临时文本");
const QColor kDiaryOrange = colourFromValue(33023);

headers::Moment momentOf(const LocalDateTime& now) {
    return {now.year, now.month, now.day, now.hour, now.minute, now.second, now.weekday};
}
QString utf8(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

void MainWindow::connectWriting() {
    connect(startWritingButton, &QPushButton::clicked, this, &MainWindow::startCommand);
    connect(startWritingButton, &QWidget::customContextMenuRequested, this, [this] {
        if (!state_.writing) menus_->writing->popup(QCursor::pos());
    });
    connect(titleBox, &QLineEdit::returnPressed, this, [this] {
        startCommand();
        editorBox->setFocus();
    });
    // The writing picture: saves while writing (idle, it offers the start-writing menu).
    connect(writingButton, &FrameLabel::leftPressed, this, [this] {
        if (!state_.writing) return;
        titlePrompt->setText(texts::kTitlePrompt);
        saveNow();
    });

    const auto on = [this](const QString& item, void (MainWindow::*command)()) {
        connect(menus_->item(item), &QAction::triggered, this, command);
    };
    on(QStringLiteral("书写临时文件"), &MainWindow::temporaryTextCommand);
    on(QStringLiteral("开始写文章"), &MainWindow::articleCommand);
    on(QStringLiteral("开始写日记"), &MainWindow::diaryCommand);
    on(QStringLiteral("开始写日程"), &MainWindow::scheduleCommand);
    on(QStringLiteral("列购物清单"), &MainWindow::shoppingListCommand);
    const QList<QAction*> kinds = menus_->newMenu->actions();
    void (MainWindow::*newCommands[])() = {&MainWindow::temporaryTextCommand, &MainWindow::articleCommand,
                                           &MainWindow::diaryCommand, &MainWindow::scheduleCommand,
                                           &MainWindow::shoppingListCommand};
    for (int i = 0; i < kinds.size() && i < 5; ++i) connect(kinds[i], &QAction::triggered, this, newCommands[i]);
    on(QStringLiteral("清空正在编辑（F9）"), &MainWindow::clearCommand);
    for (QAction* recovery : menus_->writing->actions() + menus_->toolsMenu->actions())
        if (recovery->text() == QStringLiteral("丢稿找回"))
            connect(recovery, &QAction::triggered, this, [this] { runManuscriptRecovery(); });
    connect(menus_->item(QStringLiteral("打开文件")), &QAction::triggered, this, [this] { openRoutine({}); });
    connect(menus_->item(QStringLiteral("打开新窗口")), &QAction::triggered, this, &MainWindow::openNewWindow);
}

void MainWindow::showWritingState(bool writing) {
    state_.writing = writing;
    titleBox->setEnabled(!writing);
    editorBox->setEnabled(writing);
    startWritingButton->setText(writing ? QStringLiteral("立刻保存") : QStringLiteral("开始书写"));
    writingButton->setPixmap(pictures::pixmap(writing ? QStringLiteral("floppy") : QStringLiteral("pen"), QSize(32, 32)));
    menus_->item(QStringLiteral("打开文件"))->setEnabled(!writing);
    menus_->item(QStringLiteral("新建"))->setEnabled(!writing);
}

void MainWindow::moveCaretToEnd() { editorBox->moveCursor(QTextCursor::End); }

bool MainWindow::inDiary() const { return !panel_->colourPicker->isEnabled(); }

void MainWindow::startCommand() {
    if (titleBox->text().isEmpty()) titleBox->setText(utf8(headers::temporaryText(momentOf(state_.platform.now()))));
    if (state_.writing) {
        titlePrompt->setText(texts::kTitlePrompt);
        saveNow();
        editorBox->setFocus();
        return;
    }
    showWritingState(true);
    menus_->item(QStringLiteral("编辑"))->setEnabled(true);
    if (state_.loadingFlag != 1) {
        editorAdapter_.setUnicodeText(titleBox->text() + QStringLiteral("\r\n"));
        moveCaretToEnd();
    }
    menus_->item(QStringLiteral("打印文本"))->setEnabled(true);
    repaintCustomBackground();
    editorBox->setFocus();
}

void MainWindow::temporaryTextCommand() {
    if (editorBox->isEnabled()) {
        state_.platform.messageBox(this, texts::kProgramTitle, kRefuseNewKind);
        return;
    }
    titleBox->setText(utf8(headers::temporaryText(momentOf(state_.platform.now()))));
    showWritingState(true);
    if (state_.loadingFlag != 1) {
        editorAdapter_.setUnicodeText(titleBox->text() + QStringLiteral("\r\n"));
        moveCaretToEnd();
    }
    editorBox->setFocus();
    titlePrompt->setText(texts::kTitlePrompt);
}

void MainWindow::articleCommand() {
    if (!titleBox->text().isEmpty()) startCommand();
    else state_.platform.messageBox(this, texts::kProgramTitle, QStringLiteral("请输入文章标题后开始书写文章"));
}

void MainWindow::diaryCommand() {
    if (!titleBox->text().isEmpty()) {
        state_.platform.messageBox(this, texts::kProgramTitle,
                                   QStringLiteral("写日记时您不需要在标题栏中输入任何内容哦，我们会自动帮您填写"));
        return;
    }
    titleBox->setText(utf8(headers::diary(momentOf(state_.platform.now()))));
    titlePrompt->setText(QStringLiteral("日记时间："));
    applyDiaryColours();
    panel_->colourPicker->setEnabled(false);
    panel_->headerImageCombo->setEnabled(false);
    menus_->item(QStringLiteral("编辑"))->setEnabled(true);
    startCommand();
    editorBox->setFocus();
    tipTimer->stop();
    statusBar->setPaneText(2, QStringLiteral("日记模式"));
    state_.platform.messageBox(this, texts::kProgramTitle,
                               QStringLiteral("您已经进入了专属的写日记模式，在写日记模式中，您拥有以下功能：\r\n"
                                              "①靓丽的背景颜色（不能更换）\r\n②标题提示等各个地方优化"));
    repaintCustomBackground();
}

void MainWindow::scheduleCommand() {
    if (editorBox->isEnabled()) {
        state_.platform.messageBox(this, texts::kProgramTitle, kRefuseNewKind);
        return;
    }
    state_.scheduleModeFlag = 1;
    titleBox->setText(utf8(headers::schedule(momentOf(state_.platform.now()))));
    showWritingState(true);
    if (state_.loadingFlag != 1) {
        editorAdapter_.setUnicodeText(titleBox->text() + QStringLiteral("\r\n") + QString::fromUtf8(headers::kScheduleInvite));
        moveCaretToEnd();
    }
    menus_->item(QStringLiteral("编辑"))->setEnabled(true);
    editorBox->setFocus();
    titlePrompt->setText(texts::kTitlePrompt);
    state_.settings.write(kSoftware, QStringLiteral("新手4"), texts::kTrue);
    repaintCustomBackground();
}

void MainWindow::shoppingListCommand() {
    if (editorBox->isEnabled()) {
        state_.platform.messageBox(this, texts::kProgramTitle, kRefuseNewKind);
        return;
    }
    state_.shoppingModeFlag = 1;
    titleBox->setText(utf8(headers::shoppingList(momentOf(state_.platform.now()))));
    state_.settings.write(kSoftware, QStringLiteral("新手6"), texts::kTrue);
    showWritingState(true);
    if (state_.loadingFlag != 1) {
        editorAdapter_.setUnicodeText(titleBox->text() + QStringLiteral("\r\n") + QString::fromUtf8(headers::kShoppingInvite));
        moveCaretToEnd();
    }
    menus_->item(QStringLiteral("编辑"))->setEnabled(true);
    editorBox->setFocus();
    titlePrompt->setText(texts::kTitlePrompt);
    // F6 opens the shopping item window throughout this kind. A registration
    // that fails (the key is already ours) keeps the id from start-up.
    if (const int id = state_.platform.registerHotKey(vk::F6)) state_.hotKeys.f6 = id;
    repaintCustomBackground();
}

void MainWindow::endWriting() {
    state_.writing = false;  // from here on the editor's text is no longer the writer's
    titleBox->setEnabled(true);
    editorAdapter_.setUnicodeText(QStringLiteral("感谢您的使用"));
    titleBox->clear();
    state_.openedDocumentFlag = 0;
    state_.documentPath.clear();
    state_.documentEncoding = documents::Encoding::Gbk;
    state_.passwordSuspect = false;
    showWritingState(false);
    state_.scheduleModeFlag = 0;
    menus_->item(QStringLiteral("编辑"))->setEnabled(false);
    state_.shoppingModeFlag = 0;
    menus_->item(QStringLiteral("打印文本"))->setEnabled(false);
    if (inDiary()) {
        panel_->colourPicker->setEnabled(true);
        panel_->headerImageCombo->setEnabled(true);
        panel_->colourPicker->setColour(state_.settings.integer(QStringLiteral("文本设置"), QStringLiteral("背景颜色")));
        restoreNormalColours();
        applyBackgroundColourToThemedControls();
        tipTimer->start(7500);
        state_.settings.write(QStringLiteral("日记"), QStringLiteral("最后一次日记"), state_.todayStamp());
        runSettingsOkAction();
    }
    state_.documentPassword.clear();
    setAlwaysOnTop(this, panel_->alwaysOnTop->isChecked());
}

void MainWindow::clearCommand() {
    setAlwaysOnTop(this, false);
    Platform& platform = state_.platform;
    if (!editorBox->isEnabled()) {
        platform.messageBox(this, texts::kProgramTitle, QStringLiteral("还没有开始书写"));
        return;
    }
    if (platform.messageBox(this, texts::kProgramTitle,
                            QStringLiteral("警告！该操作将会删除所有内容！清空当前软件编辑，但是不影响原文件"),
                            Buttons::OkCancel) != Answer::Ok)
        return;
    if (platform.messageBox(this, texts::kProgramTitle, QStringLiteral("警告！您真的接受初始化软件的一切后果么？"),
                            Buttons::OkCancel) != Answer::Ok)
        return;
    endWriting();
}

// The diary's own look: orange behind the window, the editor and the
// pictures, white text in the editor.
void MainWindow::applyDiaryColours() {
    paintBackground(this, kDiaryOrange);
    for (QWidget* picture : {static_cast<QWidget*>(startButton), static_cast<QWidget*>(writingButton),
                             static_cast<QWidget*>(recordButton)})
        paintBackground(picture, kDiaryOrange);
    QPalette editorColours = editorBox->palette();
    editorColours.setColor(QPalette::Base, kDiaryOrange);
    editorColours.setColor(QPalette::Text, Qt::white);
    editorBox->setPalette(editorColours);
}

// Back to the look the settings give: the window's background colour, and
// the pictures and the editor as the window paints them.
void MainWindow::restoreNormalColours() {
    paintBackground(this, colourFromValue(panel_->colourPicker->colour()));
    for (QWidget* picture : {static_cast<QWidget*>(startButton), static_cast<QWidget*>(writingButton),
                             static_cast<QWidget*>(recordButton)}) {
        picture->setAutoFillBackground(false);
        picture->setPalette(QPalette());
    }
    editorBox->setPalette(QPalette());
}

}  // namespace penvox
