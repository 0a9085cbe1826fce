#include "app/shopping_window.h"

#include "app/gbk_text.h"
#include "app/schedule_window.h"
#include "app/texts.h"
#include "core/entry_lines.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace penvox {

ShoppingWindow::ShoppingWindow(EditorTools tools, QWidget* parent)
    : QWidget(parent, Qt::Window), tools_(std::move(tools)) {
    setObjectName(QStringLiteral("添加一个购物项目v1.1"));
    setWindowTitle(QStringLiteral("添加一个购物项目v1.1"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(295, 169);

    const auto label = [this](const QString& name, const QString& text, QRect place) {
        auto* result = new QLabel(text, this);
        result->setObjectName(name);
        result->setGeometry(place);
    };
    const auto box = [this](const QString& name, QRect place) {
        auto* result = new QLineEdit(this);
        result->setObjectName(name);
        result->setGeometry(place);
        return result;
    };
    const auto button = [this](const QString& name, const QString& text, QRect place) {
        auto* result = new QPushButton(text, this);
        result->setObjectName(name);
        result->setGeometry(place);
        return result;
    };

    label(QStringLiteral("透明标签5"), QStringLiteral("购物名称："), {8, 8, 64, 24});
    nameBox_ = box(QStringLiteral("编辑框3"), {80, 9, 192, 24});
    label(QStringLiteral("透明标签1"), QStringLiteral("单价："), {40, 40, 40, 24});
    unitPriceBox_ = box(QStringLiteral("编辑框1"), {80, 41, 56, 24});
    label(QStringLiteral("透明标签2"), QStringLiteral("数量："), {160, 40, 40, 24});
    quantityBox_ = box(QStringLiteral("编辑框2"), {200, 41, 56, 24});
    quantityBox_->setText(QStringLiteral("1"));
    lineBreak_ = new QCheckBox(QStringLiteral("添加换行符"), this);
    lineBreak_->setObjectName(QStringLiteral("自动换行"));
    lineBreak_->setGeometry(200, 72, 80, 24);
    lineBreak_->setChecked(true);
    QPushButton* addButton = button(QStringLiteral("开始书写按钮"), QStringLiteral("添加清单"), {101, 82, 86, 32});
    QPushButton* totalButton = button(QStringLiteral("开始书写按钮1"), QStringLiteral("计算总价格"), {197, 92, 88, 24});
    label(QStringLiteral("透明标签6"), QStringLiteral("保存到txt文件传给手机，让购物更有条理"), {24, 120, 248, 24});

    const QString numberKeys = QStringLiteral("0123456789-.");
    unitPriceBox_->setInputMethodHints(Qt::ImhFormattedNumbersOnly);
    quantityBox_->setInputMethodHints(Qt::ImhFormattedNumbersOnly);
    new EntryBoxFilter(unitPriceBox_, {numberKeys, true, false});
    new EntryBoxFilter(quantityBox_, {numberKeys, true, true});

    connect(unitPriceBox_, &QLineEdit::returnPressed, this, &ShoppingWindow::addItem);
    connect(quantityBox_, &QLineEdit::returnPressed, this, &ShoppingWindow::addItem);
    connect(addButton, &QPushButton::clicked, this, &ShoppingWindow::addItem);
    connect(totalButton, &QPushButton::clicked, this, &ShoppingWindow::addTotal);
}

ShoppingWindow* ShoppingWindow::open(EditorTools tools, QWidget* parent) {
    if (auto* open = qobject_cast<ShoppingWindow*>(activateOpenWindow(parent, QStringLiteral("添加一个购物项目v1.1"))))
        return open;
    if (tools.state.shoppingModeFlag == 0) return nullptr;
    auto* window = new ShoppingWindow(std::move(tools), parent);
    window->show();
    window->raise();
    window->activateWindow();
    window->nameBox_->setFocus();
    return window;
}

bool ShoppingWindow::stillWriting() {
    // Writing may have ended while the window stood open: the line would go
    // into the idle editor and be lost, so nothing happens and the window stays.
    if (tools_.editorBox->isEnabled()) return true;
    tools_.state.platform.messageBox(this, texts::kProgramTitle, QStringLiteral("还没有开始书写呢"));
    return false;
}

void ShoppingWindow::addItem() {
    if (!stillWriting()) return;
    if (unitPriceBox_->text().isEmpty()) unitPriceBox_->setText(QString::fromUtf8(entries::kDefaultUnitPrice));
    if (nameBox_->text().isEmpty()) nameBox_->setText(QString::fromUtf8(entries::kDefaultName));
    if (quantityBox_->text().isEmpty()) quantityBox_->setText(QString::fromUtf8(entries::kDefaultQuantity));
    const std::string quantity = quantityBox_->text().toStdString();
    const std::string price = entries::priceText(unitPriceBox_->text().toStdString(), quantity);
    insertAndClose(entries::shoppingLine(lineBreak_->isChecked(), nameBox_->text().toStdString(), quantity, price));
}

void ShoppingWindow::addTotal() {
    if (!stillWriting()) return;
    insertAndClose(entries::totalLine(lineBreak_->isChecked(), entries::shoppingTotal(tools_.editor.text())));
}

void ShoppingWindow::insertAndClose(const std::string& utf8Line) {
    // The window is gone once closed: what comes after works on a copy.
    const EditorTools tools = tools_;
    const std::size_t behind = tools.splice(toGbk(QString::fromStdString(utf8Line)));
    close();
    tools.placeCaret(behind);
}

}  // namespace penvox
