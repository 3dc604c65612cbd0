#pragma once

#include "admin/login_check.h"
#include "admin/password_file.h"
#include "common/prompts.h"

#include <QDialog>

#include <memory>

class QLineEdit;
class QPushButton;

// frmLogin: asks for the password before the worksheet opens and lets the
// user replace it. loggedIn() is the outcome the start-up reads: true after a
// right password or a password change, false after Cancel, Esc or closing
// the window by its frame. With several users it also asks the user name
// (txtUserName); otherwise that box shows "SalesManager" and is never read.
class LoginWindow : public QDialog
{
    Q_OBJECT

public:
    // `storedPassword` is the password PW.txt held when the window loaded;
    // a change writes `file` but the window keeps comparing against the
    // password it loaded.
    LoginWindow(QString storedPassword, PasswordFile file, Prompts &prompts,
                QWidget *parent = nullptr);
    // Checks against `check`; `userName` fills txtUserName when the check
    // asks for one (the user who last signed in on this computer).
    LoginWindow(std::unique_ptr<LoginCheck> check, const QString &userName, Prompts &prompts,
                QWidget *parent = nullptr);
    ~LoginWindow() override;

    bool loggedIn() const { return m_loggedIn; }
    // Who signed in, once loggedIn().
    const std::optional<Access> &signedIn() const { return m_check->signedIn(); }
    // The user name typed (with several users).
    QString userName() const;

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
    static QString saveFailedMessage(const QString &path, const QString &error)
    {
        return FileLoginCheck::saveFailedMessage(path, error);
    }

public slots:
    void okClicked();
    void cancelClicked();
    void changeClicked();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void build();
    // Checks the typed password; false, with the reason shown (`wrongText`
    // for a wrong password), when it is not right.
    bool typedPasswordIsRight(const QString &wrongText, const QString &wrongTitle);
    std::optional<QString> askNewPassword();
    void focusPassword();

    std::unique_ptr<LoginCheck> m_check;
    Prompts &m_prompts;
    bool m_loggedIn = false;
    QLineEdit *m_userName;
    QLineEdit *m_password;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    QPushButton *m_change;
};
