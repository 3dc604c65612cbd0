#pragma once

#include "common/permissions.h"
#include "common/prompts.h"
#include "store/user_accounts.h"

#include <QWidget>

#include <optional>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

// frmUsers (Setup > Users…): the people who sign in. A manager adds a user
// (name, role, the roster name a salesperson is tied to, a password typed
// twice), changes a role, resets a password and disables or enables a
// user; the last active manager can be neither disabled nor demoted. Every
// button checks the signed-in user's role again before it changes anything.
class UsersWindow : public QWidget
{
    Q_OBJECT

public:
    UsersWindow(UserAccounts &accounts, Access access, Prompts &prompts,
                QWidget *parent = nullptr);

    // Lists the users again, as they are now.
    void reload();

    void cmdAdd_Click();
    void cmdChangeRole_Click();
    void cmdResetPassword_Click();
    void cmdDisable_Click();

    static QString title() { return QStringLiteral("Users"); }

private:
    void showSelected();
    std::optional<UserAccounts::User> selected() const;
    std::optional<QString> askPassword(const QString &userName);
    bool allowed();
    void fail(const QString &error);

    UserAccounts &m_accounts;
    Access m_access;
    Prompts &m_prompts;
    QList<UserAccounts::User> m_users;

    QTableWidget *m_grdUsers = nullptr;
    QLineEdit *m_txtUserName = nullptr;
    QComboBox *m_cboRole = nullptr;
    QLineEdit *m_txtSalesPerson = nullptr;
    QPushButton *m_cmdAdd = nullptr;
    QPushButton *m_cmdChangeRole = nullptr;
    QPushButton *m_cmdResetPassword = nullptr;
    QPushButton *m_cmdDisable = nullptr;
    QPushButton *m_cmdClose = nullptr;
};
