#pragma once
// The password window "pxt密码输入" of encrypted documents: it shows the
// current document password and returns what the user confirms. It has no
// cancel: closing it any other way keeps the previous password.
#include <QDialog>

class QLineEdit;

namespace penvox {

class PasswordWindow : public QDialog {
    Q_OBJECT
public:
    PasswordWindow(QWidget* parent, const QString& password, const QColor& background, const QColor& labelText);

    // Opens the window modal and returns the confirmed password, or
    // `password` unchanged when the window was closed without confirming.
    static QString ask(QWidget* parent, const QString& password, const QColor& background, const QColor& labelText);

    QString confirmed() const { return confirmed_; }

private:
    void confirm();
    QLineEdit* passwordBox_;
    QString confirmed_;
};

}  // namespace penvox
