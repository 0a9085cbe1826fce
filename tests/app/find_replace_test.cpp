// The find and replace windows over the real editor: byte-wise selections of
// what they find, the not-found messages and where they leave the caret, the
// find window hiding instead of closing, replacing the selection without the
// clipboard, and replace all going by the case box of the last find-next.
#include "app_harness.h"

#include "app/find_window.h"
#include "app/gbk_text.h"
#include "app/replace_window.h"
#include "app/texts.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <utility>

namespace penvox::testing {
namespace {

using Selection = std::pair<std::size_t, std::size_t>;  // start, length in bytes

template <typename T = QWidget>
T* control(QWidget* window, const QString& name) {
    T* found = window->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << "no control named " << name.toStdString();
    return found;
}

void press(QWidget* window, const QString& name) {
    if (auto* widget = control(window, name)) QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

class FindReplaceTest : public AppTest {
protected:
    void SetUp() override {
        startWindow();
        click(QStringLiteral("开始书写按钮"));  // a temporary text
        ASSERT_TRUE(window->editorBox->isEnabled());
    }
    void setText(const QString& text, std::size_t caret) {
        window->editor().setText(toGbk(text));
        window->editor().setSelection(caret, 0);
    }
    QString text() const { return window->editor().unicodeText(); }
    Selection selection() const { return {window->editor().selectionStart(), window->editor().selectionLength()}; }

    FindWindow* openFind() { return FindWindow::open(window->editorTools(), window->searchMemory()); }
    ReplaceWindow* openReplace() { return ReplaceWindow::open(window->editorTools(), window->searchMemory()); }
    static void setBox(QWidget* window, const QString& name, const QString& text) {
        auto* box = control<QLineEdit>(window, name);
        box->clear();
        typeText(box, text);
    }
    // Expects one more not-found message, answered OK.
    void expectNotFound() { platform.answerNextMessage(Answer::Ok, QStringLiteral("找不到")); }
    void checkLastMessage(const QString& title, const QString& text) {
        ASSERT_FALSE(platform.messages.isEmpty());
        EXPECT_EQ(platform.messages.last().title, title);
        EXPECT_EQ(platform.messages.last().text, text);
        EXPECT_EQ(platform.messages.last().icon, BoxIcon::Information);
    }
};

TEST_F(FindReplaceTest, FindWalksDownThenUpWithoutWrapping) {
    setText(QStringLiteral("ab ab"), 0);
    FindWindow* find = openFind();
    ASSERT_NE(find, nullptr);
    EXPECT_EQ(find->objectName(), QStringLiteral("查找"));
    EXPECT_TRUE(find->isVisible());
    setBox(find, QStringLiteral("编辑框1"), QStringLiteral("ab"));

    press(find, QStringLiteral("按钮1"));
    EXPECT_EQ(selection(), Selection(0, 2));
    press(find, QStringLiteral("按钮1"));
    EXPECT_EQ(selection(), Selection(3, 2));
    expectNotFound();
    press(find, QStringLiteral("按钮1"));
    checkLastMessage(QStringLiteral("记事本"), QStringLiteral("找不到 “ab”"));
    EXPECT_EQ(selection(), Selection(5, 0));
    EXPECT_EQ(window->searchMemory().lastSearch, QStringLiteral("ab"));

    press(find, QStringLiteral("单选框1"));
    ASSERT_TRUE(control<QRadioButton>(find, QStringLiteral("单选框1"))->isChecked());
    press(find, QStringLiteral("按钮1"));
    EXPECT_EQ(selection(), Selection(3, 2));
    press(find, QStringLiteral("按钮1"));
    EXPECT_EQ(selection(), Selection(0, 2));
    expectNotFound();
    press(find, QStringLiteral("按钮1"));
    EXPECT_EQ(selection(), Selection(0, 0));
    EXPECT_EQ(platform.messages.size(), 2);
    EXPECT_EQ(text(), QStringLiteral("ab ab"));
}

TEST_F(FindReplaceTest, FindSelectsByteOffsetsAndHonoursMatchCase) {
    struct Case {
        QString text;
        QString needle;
        bool matchCase;
        std::optional<Selection> found;
    } cases[] = {
        {QStringLiteral("xx ab"), QStringLiteral("AB"), false, Selection(3, 2)},
        {QStringLiteral("xx ab"), QStringLiteral("AB"), true, std::nullopt},
        {QStringLiteral("xx AB"), QStringLiteral("AB"), true, Selection(3, 2)},
        // Two-byte characters and a CR LF break before the match.
        {QStringLiteral("中文\r\n书写"), QStringLiteral("书写"), true, Selection(6, 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString() + " / " + c.needle.toStdString());
        setText(c.text, 0);
        FindWindow* find = openFind();
        setBox(find, QStringLiteral("编辑框1"), c.needle);
        control<QCheckBox>(find, QStringLiteral("选择框1"))->setChecked(c.matchCase);
        if (!c.found) expectNotFound();
        // Enter in the find box is find-next too.
        QTest::keyClick(control(find, QStringLiteral("编辑框1")), Qt::Key_Return);
        if (c.found) {
            EXPECT_EQ(selection(), *c.found);
            EXPECT_EQ(window->editorBox->textCursor().selectedText(), c.text.mid(c.text.size() - 2));
        } else {
            EXPECT_EQ(selection(), Selection(toGbk(c.text).size(), 0));
        }
    }
}

TEST_F(FindReplaceTest, FindButtonNeedsText) {
    setText(QStringLiteral("ab ab"), 0);
    FindWindow* find = openFind();
    auto* button = control<QPushButton>(find, QStringLiteral("按钮1"));
    EXPECT_FALSE(button->isEnabled());
    setBox(find, QStringLiteral("编辑框1"), QStringLiteral("a"));
    EXPECT_TRUE(button->isEnabled());
    control<QLineEdit>(find, QStringLiteral("编辑框1"))->clear();
    EXPECT_FALSE(button->isEnabled());
    // Enter in the empty box looks for nothing and says nothing.
    QTest::keyClick(control(find, QStringLiteral("编辑框1")), Qt::Key_Return);
    EXPECT_TRUE(platform.messages.isEmpty());
    EXPECT_EQ(selection(), Selection(0, 0));
}

TEST_F(FindReplaceTest, ClosedFindWindowHidesKeepingItsBoxesAndTheSearchedText) {
    setText(QStringLiteral("ab AB"), 0);
    QPointer<FindWindow> find = openFind();
    setBox(find, QStringLiteral("编辑框1"), QStringLiteral("AB"));
    press(find, QStringLiteral("选择框1"));
    press(find, QStringLiteral("按钮1"));
    EXPECT_EQ(selection(), Selection(3, 2));
    press(find, QStringLiteral("单选框1"));

    const auto closeWith = [&](int way) {
        setBox(find, QStringLiteral("编辑框1"), QStringLiteral("never searched"));
        if (way == 0) EXPECT_FALSE(find->close());  // the window's close request is refused
        else press(find, QStringLiteral("按钮2"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_FALSE(find.isNull());
        EXPECT_FALSE(find->isVisible());
        EXPECT_EQ(control<QLineEdit>(find, QStringLiteral("编辑框1"))->text(), QStringLiteral("AB"));
    };
    for (int way : {0, 1}) {
        SCOPED_TRACE(way == 0 ? "close" : "cancel button");
        closeWith(way);
        EXPECT_EQ(openFind(), find.data());
        EXPECT_TRUE(find->isVisible());
        auto* box = control<QLineEdit>(find, QStringLiteral("编辑框1"));
        EXPECT_EQ(box->text(), QStringLiteral("AB"));
        EXPECT_EQ(box->selectedText(), QStringLiteral("AB"));
        EXPECT_TRUE(control<QCheckBox>(find, QStringLiteral("选择框1"))->isChecked());
        EXPECT_TRUE(control<QRadioButton>(find, QStringLiteral("单选框1"))->isChecked());
        EXPECT_FALSE(control<QRadioButton>(find, QStringLiteral("单选框2"))->isChecked());
    }
    EXPECT_EQ(window->findChildren<FindWindow*>().size(), 1);
}

TEST_F(FindReplaceTest, ReplaceButtonsNeedTextAndTheWindowStartsFromTheLastSearch) {
    ReplaceWindow* replace = openReplace();
    ASSERT_NE(replace, nullptr);
    const QString buttons[] = {QStringLiteral("按钮1"), QStringLiteral("按钮2"), QStringLiteral("按钮3")};
    for (const QString& name : buttons) EXPECT_FALSE(control(replace, name)->isEnabled()) << name.toStdString();
    setBox(replace, QStringLiteral("编辑框1"), QStringLiteral("x"));
    for (const QString& name : buttons) EXPECT_TRUE(control(replace, name)->isEnabled()) << name.toStdString();
    control<QLineEdit>(replace, QStringLiteral("编辑框1"))->clear();
    for (const QString& name : buttons) EXPECT_FALSE(control(replace, name)->isEnabled()) << name.toStdString();

    // A find-next in the find window is what the next replace window starts from.
    setText(QStringLiteral("ab ab"), 0);
    FindWindow* find = openFind();
    setBox(find, QStringLiteral("编辑框1"), QStringLiteral("ab"));
    press(find, QStringLiteral("按钮1"));
    QPointer<ReplaceWindow> old = replace;
    press(replace, QStringLiteral("按钮4"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(old.isNull());
    replace = openReplace();
    auto* box = control<QLineEdit>(replace, QStringLiteral("编辑框1"));
    EXPECT_EQ(box->text(), QStringLiteral("ab"));
    EXPECT_EQ(box->selectedText(), QStringLiteral("ab"));
    for (const QString& name : buttons) EXPECT_TRUE(control(replace, name)->isEnabled()) << name.toStdString();
    EXPECT_FALSE(control<QCheckBox>(replace, QStringLiteral("选择框1"))->isChecked());
    EXPECT_TRUE(control<QLineEdit>(replace, QStringLiteral("编辑框2"))->text().isEmpty());
    // A second open request brings the same window forward.
    EXPECT_EQ(openReplace(), replace);
}

TEST_F(FindReplaceTest, ReplaceFindsDownThenReplacesTheSelectionWithoutTheClipboard) {
    setText(QStringLiteral("ab ab"), 0);
    platform.clipboard = QStringLiteral("剪贴板原有");
    ReplaceWindow* replace = openReplace();
    setBox(replace, QStringLiteral("编辑框1"), QStringLiteral("ab"));
    setBox(replace, QStringLiteral("编辑框2"), QStringLiteral("中X"));

    // Nothing selected: replace finds the next match first.
    press(replace, QStringLiteral("按钮2"));
    EXPECT_EQ(selection(), Selection(0, 2));
    EXPECT_EQ(text(), QStringLiteral("ab ab"));
    // Now it replaces it, leaves the caret behind and searches no further.
    press(replace, QStringLiteral("按钮2"));
    EXPECT_EQ(text(), QStringLiteral("中X ab"));
    EXPECT_EQ(selection(), Selection(3, 0));
    // A selection that is not the search text is replaced all the same.
    window->editor().setSelection(2, 3);  // "X a"
    press(replace, QStringLiteral("按钮2"));
    EXPECT_EQ(text(), QStringLiteral("中中Xb"));
    EXPECT_EQ(selection(), Selection(5, 0));
    EXPECT_EQ(platform.clipboard, QStringLiteral("剪贴板原有"));

    // Find-next goes down only; not found is reported under the program's title.
    window->editor().setSelection(0, 0);
    expectNotFound();
    press(replace, QStringLiteral("按钮1"));
    checkLastMessage(texts::kProgramTitle, QStringLiteral("找不到 “ab”"));
    EXPECT_EQ(selection(), Selection(toGbk(text()).size(), 0));
    EXPECT_EQ(window->searchMemory().lastSearch, QStringLiteral("ab"));
}

TEST_F(FindReplaceTest, ReplaceAllGoesByTheCaseBoxOfTheLastFindNext) {
    struct Case {
        const char* what;
        bool findNextFirst;
        bool boxAtFindNext;
        QString result;
    } cases[] = {
        {"never searched, box checked", false, false, QStringLiteral("x，x 中x")},
        {"searched with the box checked", true, true, QStringLiteral("x，AB 中x")},
        {"searched unchecked, then checked", true, false, QStringLiteral("x，x 中x")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        window->searchMemory() = SearchMemory{};
        setText(QStringLiteral("ab，AB 中ab"), 0);
        ReplaceWindow* replace = openReplace();
        setBox(replace, QStringLiteral("编辑框1"), QStringLiteral("ab"));
        setBox(replace, QStringLiteral("编辑框2"), QStringLiteral("x"));
        auto* matchCase = control<QCheckBox>(replace, QStringLiteral("选择框1"));
        if (c.findNextFirst) {
            matchCase->setChecked(c.boxAtFindNext);
            press(replace, QStringLiteral("按钮1"));
            EXPECT_EQ(selection(), Selection(0, 2));
        }
        matchCase->setChecked(true);
        press(replace, QStringLiteral("按钮3"));
        EXPECT_EQ(text(), c.result);
        EXPECT_TRUE(platform.messages.isEmpty());
        replace->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

}  // namespace
}  // namespace penvox::testing
