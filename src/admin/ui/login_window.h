#pragma once

#include "admin/password_file.h"
#include "common/prompts.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

// frmLogin: asks for the installation's password before the worksheet opens
// and lets the user replace it. loggedIn() is the outcome the start-up reads:
// true after a right password or a password change, false after Cancel, Esc
// or closing the window by its frame.
class LoginWindow : public QDialog
{
    Q_OBJECT

public:
    // `storedPassword` is the password PW.txt held when the window loaded;
    // a change writes `file` but the window keeps comparing against the
    // password it loaded.
    LoginWindow(QString storedPassword, PasswordFile file, Prompts &prompts,
                QWidget *parent = nullptr);

    bool loggedIn() const { return m_loggedIn; }

    static QString invalidPasswordMessage()
    {
        return QStringLiteral("Invalid Password, try again!");
    }
    static QString currentPasswordMessage()
    {
        return QStringLiteral("You must enter the current password");
    }
    static QString newPasswordPrompt() { return QStringLiteral("Enter new Password."); }
    static QString changeTitle() { return QStringLiteral("Change Password"); }
    static QString saveFailedMessage(const QString &path, const QString &error);

public slots:
    void okClicked();
    void cancelClicked();
    void changeClicked();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    bool typedPasswordIsRight() const;
    void focusPassword();

    QString m_storedPassword;
    PasswordFile m_file;
    Prompts &m_prompts;
    bool m_loggedIn = false;
    QLineEdit *m_userName;
    QLineEdit *m_password;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    QPushButton *m_change;
};
