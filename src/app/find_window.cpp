#include "app/find_window.h"

#include "app/gbk_text.h"
#include "core/text_search.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace penvox {

bool findNextInEditor(EditorTools& tools, QWidget* parent, const QString& text, bool down, bool matchCase,
                      const QString& messageTitle) {
    // Nothing to look for: an empty text would "match" everywhere.
    if (text.isEmpty()) return false;
    tools.editorBox->setFocus();
    const std::string needle = toGbk(text);
    const std::string haystack = tools.editor.text();
    const std::size_t start = tools.editor.selectionStart();
    const std::optional<std::size_t> found =
        down ? search::findDown(haystack, start + tools.editor.selectionLength(), needle, matchCase)
             : search::findUp(haystack, start, needle, matchCase);
    if (found) {
        tools.editor.setSelection(*found, needle.size());
        return true;
    }
    tools.state.platform.messageBox(parent, messageTitle, QStringLiteral("找不到 “") + text + QStringLiteral("”"),
                                    Buttons::Ok, BoxIcon::Information);
    tools.placeCaret(down ? tools.editor.text().size() : 0);
    return false;
}

FindWindow::FindWindow(EditorTools tools, SearchMemory& memory)
    : QWidget(tools.mainWindow, Qt::Window), tools_(std::move(tools)), memory_(memory) {
    setObjectName(QStringLiteral("查找"));
    setWindowTitle(QStringLiteral("查找"));
    setFixedSize(346, 126);

    auto* caption = new QLabel(QStringLiteral("查找内容(&N):"), this);
    caption->setObjectName(QStringLiteral("标签1"));
    caption->setGeometry(8, 16, 72, 16);
    findBox_ = new QLineEdit(this);
    findBox_->setObjectName(QStringLiteral("编辑框1"));
    findBox_->setGeometry(86, 14, 162, 20);
    caption->setBuddy(findBox_);

    matchCase_ = new QCheckBox(QStringLiteral("区分大小写(&C)"), this);
    matchCase_->setObjectName(QStringLiteral("选择框1"));
    matchCase_->setGeometry(8, 63, 98, 24);

    auto* direction = new QGroupBox(QStringLiteral("方向"), this);
    direction->setObjectName(QStringLiteral("分组框1"));
    direction->setGeometry(107, 46, 133, 42);
    upward_ = new QRadioButton(QStringLiteral("向上(&U)"), direction);
    upward_->setObjectName(QStringLiteral("单选框1"));
    upward_->setGeometry(4, 18, 64, 20);
    downward_ = new QRadioButton(QStringLiteral("向下(&D)"), direction);
    downward_->setObjectName(QStringLiteral("单选框2"));
    downward_->setGeometry(69, 18, 62, 20);
    downward_->setChecked(true);

    findButton_ = new QPushButton(QStringLiteral("查找下一个"), this);
    findButton_->setObjectName(QStringLiteral("按钮1"));
    findButton_->setGeometry(262, 13, 74, 24);
    auto* cancelButton = new QPushButton(QStringLiteral("取消"), this);
    cancelButton->setObjectName(QStringLiteral("按钮2"));
    cancelButton->setGeometry(262, 50, 74, 24);

    connect(findBox_, &QLineEdit::textChanged, this,
            [this](const QString& text) { findButton_->setEnabled(!text.isEmpty()); });
    connect(findBox_, &QLineEdit::returnPressed, this, &FindWindow::findNext);
    connect(findButton_, &QPushButton::clicked, this, &FindWindow::findNext);
    connect(cancelButton, &QPushButton::clicked, this, &FindWindow::cancel);

    fillFindBox();
    findButton_->setEnabled(!findBox_->text().isEmpty());
}

FindWindow* FindWindow::open(EditorTools tools, SearchMemory& memory) {
    FindWindow* window = tools.mainWindow->findChild<FindWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (!window) window = new FindWindow(std::move(tools), memory);
    window->reopen();
    return window;
}

void FindWindow::fillFindBox() {
    findBox_->setText(memory_.lastSearch);
    findBox_->selectAll();
}

void FindWindow::reopen() {
    fillFindBox();
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
    findBox_->setFocus();
}

void FindWindow::findNext() {
    const QString text = findBox_->text();
    if (text.isEmpty()) return;
    memory_.lastSearch = text;
    findNextInEditor(tools_, this, text, downward_->isChecked(), matchCase_->isChecked(), QStringLiteral("记事本"));
}

void FindWindow::cancel() {
    fillFindBox();
    hide();
}

void FindWindow::closeEvent(QCloseEvent* event) {
    // The window stays loaded, keeping its direction and match-case boxes.
    event->ignore();
    cancel();
}

}  // namespace penvox
