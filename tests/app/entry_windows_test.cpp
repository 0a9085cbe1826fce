// The schedule entry and shopping item windows over the real editor: when
// they open, the lines they splice in at the caret, the `time` stamp of the
// schedule window, the price and total of the shopping window, and what their
// small number boxes let through.
#include "app_harness.h"

#include "app/gbk_text.h"
#include "app/schedule_window.h"
#include "app/shopping_window.h"
#include "app/texts.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

namespace penvox::testing {
namespace {

const QString kScheduleTitle = QStringLiteral("添加一个日程");
const QString kShoppingTitle = QStringLiteral("添加一个购物项目v1.1");

template <typename T = QWidget>
T* control(QWidget* window, const QString& name) {
    T* found = window ? window->findChild<T*>(name) : nullptr;
    EXPECT_NE(found, nullptr) << "no control named " << name.toStdString();
    return found;
}

void press(QWidget* window, const QString& name) {
    if (auto* widget = control(window, name)) QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

class EntryWindowsTest : public AppTest {
protected:
    void SetUp() override {
        platform.setNow(2017, 10, 9, 8, 15, 0);
        startWindow();
    }
    // Starts writing of one kind by its menu item.
    void startKind(const QString& item) {
        menuItem(item)->trigger();
        ASSERT_TRUE(window->editorBox->isEnabled());
    }
    void setText(const QString& text, std::size_t start, std::size_t length = 0) {
        window->editor().setText(toGbk(text));
        window->editor().setSelection(start, length);
    }
    QString text() const { return window->editor().unicodeText(); }
    std::size_t caret() const { return window->editor().selectionStart(); }
    std::size_t selected() const { return window->editor().selectionLength(); }
    static std::size_t bytes(const QString& text) { return toGbk(text).size(); }

    ScheduleWindow* openSchedule() { return ScheduleWindow::open(window->editorTools(), window.get()); }
    ShoppingWindow* openShopping() { return ShoppingWindow::open(window->editorTools(), window.get()); }
    // Whether the window was closed (and is deleted once its deletion comes round).
    static bool closedAndGone(QPointer<QWidget> shown) {
        if (!shown) return true;
        const bool hidden = !shown->isVisible();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return hidden && shown.isNull();
    }
};

// --- schedule entry window ------------------------------------------------

TEST_F(EntryWindowsTest, ScheduleWindowRefusesOutsideWriting) {
    platform.answerNextMessage(Answer::Ok, QStringLiteral("还没有开始书写呢"));
    EXPECT_EQ(openSchedule(), nullptr);
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages[0].title, texts::kProgramTitle);
    EXPECT_EQ(platform.messages[0].text, QStringLiteral("还没有开始书写呢"));
    EXPECT_EQ(openWindow(kScheduleTitle), nullptr);
    EXPECT_TRUE(window->findChildren<ScheduleWindow*>().isEmpty());
}

TEST_F(EntryWindowsTest, ScheduleWindowNotesAnotherKindAndAddsAnyway) {
    struct Case {
        const char16_t* item;
        QString note;
    } cases[] = {
        {u"开始写日程", QStringLiteral("请输入以上内容来创建一个日程条目")},
        {u"书写临时文件", QStringLiteral("目前不是日程书写状态，您也可以添加清单")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.item).toStdString());
        startKind(QString::fromUtf16(c.item));
        QPointer<QWidget> schedule = openSchedule();
        ASSERT_FALSE(schedule.isNull());
        EXPECT_EQ(openWindow(kScheduleTitle), schedule.data());
        EXPECT_EQ(control<QLabel>(schedule, QStringLiteral("透明标签6"))->text(), c.note);
        EXPECT_EQ(control<QDateEdit>(schedule, QStringLiteral("日期框1"))->date(), QDate(2017, 10, 9));
        // A second request brings the open window forward.
        EXPECT_EQ(openSchedule(), schedule.data());

        setText(QStringLiteral("起"), 2);
        press(schedule, QStringLiteral("开始书写按钮"));
        EXPECT_EQ(text(), QStringLiteral("起\r\n[2017年10月9日 *时*分]### "));
        EXPECT_TRUE(closedAndGone(schedule));
        window->endWriting();
    }
}

TEST_F(EntryWindowsTest, ScheduleLineGoesInAtTheCaretAndStampsTheDay) {
    struct Case {
        const char* what;
        bool lineBreak;
        QString hour, minute, content;
        QString line;
    } cases[] = {
        {"empty time, break", true, {}, {}, QStringLiteral("买菜"), QStringLiteral("\r\n[2017年5月1日 *时*分]### 买菜")},
        {"empty time, no break", false, {}, {}, QStringLiteral("买菜"), QStringLiteral("[2017年5月1日 *时*分]### 买菜")},
        {"time and content", true, QStringLiteral("9"), QStringLiteral("30"), QStringLiteral("开会 10 people"),
         QStringLiteral("\r\n[2017年5月1日 9时30分]### 开会 10 people")},
    };
    startKind(QStringLiteral("开始写日程"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        putSetting(QStringLiteral("软件设置"), QStringLiteral("time"), QStringLiteral("201751"));
        setText(QStringLiteral("前后"), 2);  // between the two characters
        QPointer<QWidget> schedule = openSchedule();
        ASSERT_FALSE(schedule.isNull());
        control<QDateEdit>(schedule, QStringLiteral("日期框1"))->setDate(QDate(2017, 5, 1));
        control<QCheckBox>(schedule, QStringLiteral("自动换行"))->setChecked(c.lineBreak);
        typeText(control(schedule, QStringLiteral("编辑框1")), c.hour);
        typeText(control(schedule, QStringLiteral("编辑框2")), c.minute);
        auto* content = control(schedule, QStringLiteral("编辑框3"));
        typeText(content, c.content);
        // Enter in the content box adds the line.
        QTest::keyClick(content, Qt::Key_Return);

        EXPECT_EQ(text(), QStringLiteral("前") + c.line + QStringLiteral("后"));
        EXPECT_EQ(caret(), 2 + bytes(c.line));
        EXPECT_EQ(selected(), 0u);
        EXPECT_EQ(setting(QStringLiteral("软件设置"), QStringLiteral("time")), QStringLiteral("2017109"));
        ASSERT_FALSE(schedule.isNull());  // closed, deleted later
        EXPECT_FALSE(schedule->isVisible());
        const QString expectedHour = c.hour.isEmpty() ? QStringLiteral("*") : c.hour;
        EXPECT_EQ(control<QLineEdit>(schedule, QStringLiteral("编辑框1"))->text(), expectedHour);
        EXPECT_TRUE(closedAndGone(schedule));
    }
}

TEST_F(EntryWindowsTest, ScheduleLineKeepsASelectionBehindIt) {
    startKind(QStringLiteral("开始写日程"));
    setText(QStringLiteral("甲乙丙丁戊"), 2, 6);  // 乙丙丁 selected
    QPointer<QWidget> schedule = openSchedule();
    control<QCheckBox>(schedule, QStringLiteral("自动换行"))->setChecked(false);
    press(schedule, QStringLiteral("开始书写按钮"));
    const QString line = QStringLiteral("[2017年10月9日 *时*分]### ");
    EXPECT_EQ(text(), QStringLiteral("甲") + line + QStringLiteral("乙丙丁戊"));
    EXPECT_EQ(caret(), 2 + bytes(line));
    EXPECT_EQ(selected(), 0u);
    EXPECT_TRUE(closedAndGone(schedule));
}

TEST_F(EntryWindowsTest, ScheduleWindowLeftOpenAfterWritingEndsAddsNothing) {
    startKind(QStringLiteral("开始写日程"));
    QPointer<QWidget> schedule = openSchedule();
    window->endWriting();
    const QString idle = text();
    platform.answerNextMessage(Answer::Ok, QStringLiteral("还没有开始书写呢"));
    press(schedule, QStringLiteral("开始书写按钮"));
    EXPECT_EQ(text(), idle);
    EXPECT_TRUE(setting(QStringLiteral("软件设置"), QStringLiteral("time")).isEmpty());
    ASSERT_FALSE(schedule.isNull());
    EXPECT_TRUE(schedule->isVisible());
}

TEST_F(EntryWindowsTest, ScheduleTimeBoxes) {
    startKind(QStringLiteral("开始写日程"));
    QWidget* schedule = openSchedule();
    auto* hour = control<QLineEdit>(schedule, QStringLiteral("编辑框1"));
    auto* minute = control<QLineEdit>(schedule, QStringLiteral("编辑框2"));
    // Only digits and "-" can be typed into the hour box, keys or input method alike.
    typeText(hour, QStringLiteral("1a 2九-3"));
    EXPECT_EQ(hour->text(), QStringLiteral("12-3"));
    QTest::keyClick(hour, Qt::Key_Backspace);
    EXPECT_EQ(hour->text(), QStringLiteral("12-"));
    // Pasted text is not filtered.
    hour->insert(QStringLiteral("点"));
    EXPECT_EQ(hour->text(), QStringLiteral("12-点"));
    typeText(minute, QStringLiteral("3刻"));
    EXPECT_EQ(minute->text(), QStringLiteral("3刻"));
    // A left press in either box empties it; another button does not.
    QTest::mouseClick(hour, Qt::RightButton);
    EXPECT_EQ(hour->text(), QStringLiteral("12-点"));
    for (QLineEdit* box : {hour, minute}) {
        QTest::mouseClick(box, Qt::LeftButton);
        EXPECT_TRUE(box->text().isEmpty()) << box->objectName().toStdString();
    }
}

// --- shopping item window -------------------------------------------------

TEST_F(EntryWindowsTest, ShoppingWindowOpensOnlyInTheShoppingList) {
    EXPECT_EQ(openShopping(), nullptr);  // not writing
    startKind(QStringLiteral("书写临时文件"));
    const QString before = text();
    EXPECT_EQ(openShopping(), nullptr);
    EXPECT_TRUE(platform.messages.isEmpty());
    EXPECT_EQ(openWindow(kShoppingTitle), nullptr);
    EXPECT_TRUE(window->findChildren<ShoppingWindow*>().isEmpty());
    EXPECT_EQ(text(), before);
    window->endWriting();

    startKind(QStringLiteral("列购物清单"));
    QWidget* shopping = openShopping();
    ASSERT_NE(shopping, nullptr);
    EXPECT_EQ(openWindow(kShoppingTitle), shopping);
    EXPECT_EQ(shopping->focusWidget(), control(shopping, QStringLiteral("编辑框3")));
    EXPECT_EQ(control<QLineEdit>(shopping, QStringLiteral("编辑框2"))->text(), QStringLiteral("1"));
    EXPECT_EQ(openShopping(), shopping);
}

TEST_F(EntryWindowsTest, ShoppingItemLines) {
    struct Case {
        const char* what;
        bool lineBreak;
        QString name, unitPrice, quantity;
        QString line;
        QString boxesAfter[3];  // name, unit price, quantity
    } cases[] = {
        {"all empty, break", true, {}, {}, {},
         QStringLiteral("\r\n[购物清单 #商品名称： 神秘物品   #商品数量： 1   #预计价格： 0元]###"),
         {QStringLiteral("神秘物品"), QStringLiteral("0"), QStringLiteral("1")}},
        {"apples, no break", false, QStringLiteral("苹果"), QStringLiteral("3.5"), QStringLiteral("2"),
         QStringLiteral("[购物清单 #商品名称： 苹果   #商品数量： 2   #预计价格： 7元]### "),
         {QStringLiteral("苹果"), QStringLiteral("3.5"), QStringLiteral("2")}},
        {"fractions", true, QStringLiteral("米"), QStringLiteral(".1"), QStringLiteral("3"),
         QStringLiteral("\r\n[购物清单 #商品名称： 米   #商品数量： 3   #预计价格： 0.3元]###"),
         {QStringLiteral("米"), QStringLiteral(".1"), QStringLiteral("3")}},
    };
    startKind(QStringLiteral("列购物清单"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        setText(QStringLiteral("清单末尾"), 8);
        QPointer<QWidget> shopping = openShopping();
        ASSERT_FALSE(shopping.isNull());
        auto* name = control<QLineEdit>(shopping, QStringLiteral("编辑框3"));
        auto* unitPrice = control<QLineEdit>(shopping, QStringLiteral("编辑框1"));
        auto* quantity = control<QLineEdit>(shopping, QStringLiteral("编辑框2"));
        control<QCheckBox>(shopping, QStringLiteral("自动换行"))->setChecked(c.lineBreak);
        typeText(name, c.name);
        typeText(unitPrice, c.unitPrice);
        QTest::mouseClick(quantity, Qt::LeftButton);  // empties the "1"
        typeText(quantity, c.quantity);
        QTest::keyClick(quantity, Qt::Key_Return);

        EXPECT_EQ(text(), QStringLiteral("清单末尾") + c.line);
        EXPECT_EQ(caret(), 8 + bytes(c.line));
        ASSERT_FALSE(shopping.isNull());
        EXPECT_EQ(name->text(), c.boxesAfter[0]);
        EXPECT_EQ(unitPrice->text(), c.boxesAfter[1]);
        EXPECT_EQ(quantity->text(), c.boxesAfter[2]);
        EXPECT_TRUE(closedAndGone(shopping));
    }
}

TEST_F(EntryWindowsTest, ShoppingTotalSumsTheWholePricesInTheEditor) {
    struct Case {
        const char* what;
        QString editor;
        bool lineBreak;
        QString line;
    } cases[] = {
        {"7 + 2.9, a line without a price",
         QStringLiteral("P清单\r\n[购物清单 #商品名称： 苹果   #商品数量： 2   #预计价格： 7元]###\r\n"
                        "[购物清单 #商品名称： 梨   #商品数量： 1   #预计价格： 2.9元]###\r\n随便写写"),
         true, QStringLiteral("\r\n[购物清单 #预计总计： 9元]###")},
        {"no price at all", QStringLiteral("P清单\r\n###########点击F6开始添加物品###########"), false,
         QStringLiteral("[购物清单 #预计总计： 0元]###")},
    };
    startKind(QStringLiteral("列购物清单"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        setText(c.editor, bytes(c.editor));
        QPointer<QWidget> shopping = openShopping();
        control<QCheckBox>(shopping, QStringLiteral("自动换行"))->setChecked(c.lineBreak);
        press(shopping, QStringLiteral("开始书写按钮1"));
        EXPECT_EQ(text(), c.editor + c.line);
        EXPECT_EQ(caret(), bytes(c.editor + c.line));
        EXPECT_TRUE(closedAndGone(shopping));
    }
}

TEST_F(EntryWindowsTest, ShoppingNumberBoxes) {
    startKind(QStringLiteral("列购物清单"));
    QWidget* shopping = openShopping();
    auto* unitPrice = control<QLineEdit>(shopping, QStringLiteral("编辑框1"));
    auto* quantity = control<QLineEdit>(shopping, QStringLiteral("编辑框2"));
    auto* name = control<QLineEdit>(shopping, QStringLiteral("编辑框3"));
    // Digits, "-" and "." only, as typed.
    typeText(unitPrice, QStringLiteral("3a.5元 -"));
    EXPECT_EQ(unitPrice->text(), QStringLiteral("3.5-"));
    typeText(name, QStringLiteral("abc 1.5"));
    EXPECT_EQ(name->text(), QStringLiteral("abc 1.5"));
    // The quantity box empties when it is given the focus, but not when its
    // window merely becomes active again. (The offscreen platform activates
    // only the main window, so the focus arrives as the window system sends it.)
    const auto focusIn = [quantity](Qt::FocusReason reason) {
        QFocusEvent event(QEvent::FocusIn, reason);
        QApplication::sendEvent(quantity, &event);
    };
    focusIn(Qt::TabFocusReason);
    EXPECT_TRUE(quantity->text().isEmpty());
    typeText(quantity, QStringLiteral("4份"));
    EXPECT_EQ(quantity->text(), QStringLiteral("4"));
    focusIn(Qt::ActiveWindowFocusReason);
    EXPECT_EQ(quantity->text(), QStringLiteral("4"));
    focusIn(Qt::MouseFocusReason);
    EXPECT_TRUE(quantity->text().isEmpty());
    typeText(quantity, QStringLiteral("4"));
    // A left press empties the unit price.
    QTest::mouseClick(unitPrice, Qt::LeftButton);
    EXPECT_TRUE(unitPrice->text().isEmpty());
    // Enter in the unit-price box adds the item too.
    setText(QString(), 0);
    QPointer<QWidget> open = shopping;
    QTest::keyClick(unitPrice, Qt::Key_Enter);
    EXPECT_EQ(text(), QStringLiteral("\r\n[购物清单 #商品名称： abc 1.5   #商品数量： 4   #预计价格： 0元]###"));
    EXPECT_TRUE(closedAndGone(open));
}

}  // namespace
}  // namespace penvox::testing
