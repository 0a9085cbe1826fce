#include "app/password_window.h"

#include "app/colours.h"
#include "app/frame_label.h"

#include <QLineEdit>
#include <QPushButton>

namespace penvox {

PasswordWindow::PasswordWindow(QWidget* parent, const QString& password, const QColor& background,
                               const QColor& labelText)
    : QDialog(parent), confirmed_(password) {
    setObjectName(QStringLiteral("pxt密码输入"));
    setWindowTitle(QStringLiteral("pxt密码输入"));
    setFixedSize(380, 250);
    paintBackground(this, background);

    const auto label = [this, &labelText](const char16_t* name, const QString& text, QRect place) {
        auto* result = new FrameLabel(QString::fromUtf16(name), text, this);
        result->setGeometry(place);
        QPalette colours = result->palette();
        colours.setColor(QPalette::WindowText, labelText);
        result->setPalette(colours);
        return result;
    };
    label(u"透明标签2", QStringLiteral("请输入Pxt文件密码"), {8, 8, 352, 16});
    label(u"透明标签1", QStringLiteral("请输入文件密码，适用于打开和保存文件。\r\n打开文件时密码错误会产生乱码"), {74, 64, 232, 24})
        ->setWordWrap(true);
    label(u"透明标签3",
          QStringLiteral("pxt不支持找回密码，设置密码请谨慎。推荐不设置密码\r\n使用pxt文件之前请保证阅读了pxt文件的许可协议"),
          {38, 223, 304, 24})
        ->setWordWrap(true);

    passwordBox_ = new QLineEdit(password, this);
    passwordBox_->setObjectName(QStringLiteral("编辑框1"));
    passwordBox_->setGeometry(56, 104, 264, 32);
    auto* confirmButton = new QPushButton(QStringLiteral("确认"), this);
    confirmButton->setObjectName(QStringLiteral("信息2"));
    confirmButton->setGeometry(136, 176, 97, 24);
    confirmButton->setAutoDefault(false);

    connect(confirmButton, &QPushButton::clicked, this, &PasswordWindow::confirm);
    connect(passwordBox_, &QLineEdit::returnPressed, this, &PasswordWindow::confirm);
    passwordBox_->setFocus();
}

void PasswordWindow::confirm() {
    confirmed_ = passwordBox_->text();
    accept();
}

QString PasswordWindow::ask(QWidget* parent, const QString& password, const QColor& background,
                            const QColor& labelText) {
    PasswordWindow window(parent, password, background, labelText);
    window.exec();
    return window.confirmed();
}

}  // namespace penvox
