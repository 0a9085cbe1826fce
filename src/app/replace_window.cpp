#include "app/replace_window.h"

#include "app/find_window.h"
#include "app/gbk_text.h"
#include "app/texts.h"
#include "core/text_search.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

namespace penvox {

ReplaceWindow::ReplaceWindow(EditorTools tools, SearchMemory& memory)
    : QWidget(tools.mainWindow, Qt::Window), tools_(std::move(tools)), memory_(memory) {
    setObjectName(QStringLiteral("替换"));
    setWindowTitle(QStringLiteral("替换"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(387, 176);

    const auto label = [this](const QString& name, const QString& text, QRect place, QWidget* buddy) {
        auto* result = new QLabel(text, this);
        result->setObjectName(name);
        result->setGeometry(place);
        result->setBuddy(buddy);
    };
    const auto button = [this](const QString& name, const QString& text, QRect place) {
        auto* result = new QPushButton(text, this);
        result->setObjectName(name);
        result->setGeometry(place);
        return result;
    };

    findBox_ = new QLineEdit(this);
    findBox_->setObjectName(QStringLiteral("编辑框1"));
    findBox_->setGeometry(95, 8, 169, 20);
    replacementBox_ = new QLineEdit(this);
    replacementBox_->setObjectName(QStringLiteral("编辑框2"));
    replacementBox_->setGeometry(95, 35, 169, 20);
    label(QStringLiteral("标签1"), QStringLiteral("查找内容(&N):"), {12, 7, 79, 24}, findBox_);
    label(QStringLiteral("标签2"), QStringLiteral("替换为(&P):"), {12, 32, 80, 24}, replacementBox_);

    matchCase_ = new QCheckBox(QStringLiteral("区分大小写(&C)"), this);
    matchCase_->setObjectName(QStringLiteral("选择框1"));
    matchCase_->setGeometry(12, 90, 112, 24);

    findButton_ = button(QStringLiteral("按钮1"), QStringLiteral("查找下一个(&F)"), {281, 10, 87, 22});
    replaceButton_ = button(QStringLiteral("按钮2"), QStringLiteral("替换(&R)"), {281, 40, 87, 22});
    replaceAllButton_ = button(QStringLiteral("按钮3"), QStringLiteral("全部替换(&A)"), {281, 70, 87, 22});
    QPushButton* cancelButton = button(QStringLiteral("按钮4"), QStringLiteral("取消"), {281, 100, 87, 22});

    connect(findBox_, &QLineEdit::textChanged, this, [this](const QString& text) {
        findButton_->setEnabled(!text.isEmpty());
        replaceButton_->setEnabled(!text.isEmpty());
        replaceAllButton_->setEnabled(!text.isEmpty());
    });
    connect(findButton_, &QPushButton::clicked, this, &ReplaceWindow::findNext);
    connect(replaceButton_, &QPushButton::clicked, this, &ReplaceWindow::replace);
    connect(replaceAllButton_, &QPushButton::clicked, this, &ReplaceWindow::replaceAll);
    connect(cancelButton, &QPushButton::clicked, this, &QWidget::close);

    findBox_->setText(memory_.lastSearch);
    findBox_->selectAll();
    const bool searchable = !findBox_->text().isEmpty();
    findButton_->setEnabled(searchable);
    replaceButton_->setEnabled(searchable);
    replaceAllButton_->setEnabled(searchable);
    findBox_->setFocus();
}

ReplaceWindow* ReplaceWindow::open(EditorTools tools, SearchMemory& memory) {
    ReplaceWindow* window = nullptr;
    // A window that was closed is hidden until its deletion comes round: only
    // a visible one is still open.
    for (ReplaceWindow* child : tools.mainWindow->findChildren<ReplaceWindow*>(QString(), Qt::FindDirectChildrenOnly))
        if (child->isVisible()) window = child;
    if (!window) window = new ReplaceWindow(std::move(tools), memory);
    if (window->isMinimized()) window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void ReplaceWindow::findNext() {
    const QString text = findBox_->text();
    if (text.isEmpty()) return;
    memory_.replaceCaseFlag = matchCase_->isChecked();
    memory_.lastSearch = text;
    findNextInEditor(tools_, this, text, true, matchCase_->isChecked(), texts::kProgramTitle);
}

void ReplaceWindow::replace() {
    if (tools_.editor.selectionLength() == 0) {
        findNext();
        return;
    }
    // The selection is replaced in the editor itself, so the clipboard is
    // never touched and the change is one step of the editor's undo.
    QTextCursor cursor = tools_.editorBox->textCursor();
    cursor.insertText(replacementBox_->text());
    tools_.editorBox->setTextCursor(cursor);
}

void ReplaceWindow::replaceAll() {
    const std::string needle = toGbk(findBox_->text());
    if (needle.empty()) return;
    const std::string text = tools_.editor.text();
    const std::string result =
        search::replaceAll(text, needle, toGbk(replacementBox_->text()), memory_.replaceCaseFlag);
    // Nothing to replace leaves the editor, its caret and its undo alone.
    if (result != text) tools_.editor.setText(result);
}

}  // namespace penvox
