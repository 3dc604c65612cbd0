#include "admin/ui/users_window.h"

#include "admin/first_password.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

template <typename T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

const QStringList kHeaders = {QStringLiteral("User Name"), QStringLiteral("Role"),
                              QStringLiteral("Sales Person"), QStringLiteral("Status")};

QString salesPersonMissing()
{
    return QStringLiteral("A salesperson user needs the roster name they sell under.");
}

} // namespace

UsersWindow::UsersWindow(UserAccounts &accounts, Access access, Prompts &prompts,
                         QWidget *parent)
    : QWidget(parent, Qt::Window), m_accounts(accounts), m_access(std::move(access)),
      m_prompts(prompts)
{
    setObjectName(QStringLiteral("frmUsers"));
    setWindowTitle(title());
    m_grdUsers = named(new QTableWidget(0, int(kHeaders.size()), this), "grdUsers");
    m_grdUsers->setHorizontalHeaderLabels(kHeaders);
    m_grdUsers->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grdUsers->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grdUsers->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grdUsers->verticalHeader()->hide();
    m_grdUsers->horizontalHeader()->setStretchLastSection(true);
    m_txtUserName = named(new QLineEdit(this), "txtUserName");
    m_cboRole = named(new QComboBox(this), "cboRole");
    for (const Role role : {Role::Manager, Role::Clerk, Role::Salesperson})
        m_cboRole->addItem(Permissions::roleName(role), int(role));
    m_txtSalesPerson = named(new QLineEdit(this), "txtSalesPerson");
    m_cmdAdd = named(new QPushButton(QStringLiteral("Add"), this), "cmdAdd");
    m_cmdChangeRole = named(new QPushButton(QStringLiteral("Change Role"), this), "cmdChangeRole");
    m_cmdResetPassword =
        named(new QPushButton(QStringLiteral("Reset Password"), this), "cmdResetPassword");
    m_cmdDisable = named(new QPushButton(QStringLiteral("Disable"), this), "cmdDisable");
    m_cmdClose = named(new QPushButton(QStringLiteral("Close"), this), "cmdClose");

    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("User Name:"), m_txtUserName);
    fields->addRow(QStringLiteral("Role:"), m_cboRole);
    fields->addRow(QStringLiteral("Sales Person:"), m_txtSalesPerson);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : {m_cmdAdd, m_cmdChangeRole, m_cmdResetPassword, m_cmdDisable})
        buttons->addWidget(button);
    buttons->addStretch(1);
    buttons->addWidget(m_cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grdUsers, 1);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    resize(560, 400);

    connect(m_grdUsers, &QTableWidget::itemSelectionChanged, this, &UsersWindow::showSelected);
    connect(m_cmdAdd, &QPushButton::clicked, this, &UsersWindow::cmdAdd_Click);
    connect(m_cmdChangeRole, &QPushButton::clicked, this, &UsersWindow::cmdChangeRole_Click);
    connect(m_cmdResetPassword, &QPushButton::clicked, this,
            &UsersWindow::cmdResetPassword_Click);
    connect(m_cmdDisable, &QPushButton::clicked, this, &UsersWindow::cmdDisable_Click);
    connect(m_cmdClose, &QPushButton::clicked, this, &QWidget::close);
    reload();
}

void UsersWindow::reload()
{
    QString error;
    const std::optional<QList<UserAccounts::User>> users = m_accounts.list(&error);
    m_grdUsers->setRowCount(0);
    if (!users) {
        fail(QStringLiteral("The users could not be read: ") + error);
        return;
    }
    m_users = *users;
    m_grdUsers->setRowCount(int(m_users.size()));
    for (int row = 0; row < int(m_users.size()); ++row) {
        const UserAccounts::User &user = m_users.at(row);
        const QStringList texts = {
            user.userName, Permissions::roleName(user.role), user.salesPerson,
            user.disabled ? QStringLiteral("Disabled") : QStringLiteral("Active")};
        for (int column = 0; column < int(texts.size()); ++column)
            m_grdUsers->setItem(row, column, new QTableWidgetItem(texts.at(column)));
    }
    m_grdUsers->resizeColumnsToContents();
}

std::optional<UserAccounts::User> UsersWindow::selected() const
{
    const int row = m_grdUsers->currentRow();
    if (row < 0 || row >= int(m_users.size()) || m_grdUsers->selectedItems().isEmpty())
        return std::nullopt;
    return m_users.at(row);
}

void UsersWindow::showSelected()
{
    const std::optional<UserAccounts::User> user = selected();
    if (!user)
        return;
    m_txtUserName->setText(user->userName);
    m_cboRole->setCurrentIndex(m_cboRole->findData(int(user->role)));
    m_txtSalesPerson->setText(user->salesPerson);
    m_cmdDisable->setText(user->disabled ? QStringLiteral("Enable") : QStringLiteral("Disable"));
}

bool UsersWindow::allowed()
{
    return m_access.check(Permissions::Command::Users, m_prompts);
}

void UsersWindow::fail(const QString &error)
{
    m_prompts.message(error, title(), Prompts::Icon::Warning);
}

std::optional<QString> UsersWindow::askPassword(const QString &userName)
{
    using Echo = Prompts::Echo;
    for (;;) {
        const auto first = m_prompts.input(
            {QStringLiteral("Enter the password of %1:").arg(userName), title(), {},
             Echo::Password});
        if (!first)
            return std::nullopt;
        const auto second =
            m_prompts.input({FirstPassword::confirmPrompt(), title(), {}, Echo::Password});
        if (!second)
            return std::nullopt;
        if (*second == *first)
            return first;
        fail(FirstPassword::mismatchMessage());
    }
}

void UsersWindow::cmdAdd_Click()
{
    if (!allowed())
        return;
    UserAccounts::User user;
    user.userName = m_txtUserName->text().trimmed();
    user.role = Role(m_cboRole->currentData().toInt());
    user.salesPerson = m_txtSalesPerson->text().trimmed();
    if (user.userName.isEmpty() || user.userName.contains(u'"')) {
        fail(QStringLiteral("Enter a user name (without a double quote)."));
        return;
    }
    if (user.role == Role::Salesperson && user.salesPerson.isEmpty()) {
        fail(salesPersonMissing());
        return;
    }
    if (user.role != Role::Salesperson)
        user.salesPerson.clear(); // only a salesperson is tied to a roster name
    const std::optional<QString> password = askPassword(user.userName);
    if (!password)
        return;
    QString error;
    if (!m_accounts.add(user, *password, &error))
        fail(error);
    reload();
}

void UsersWindow::cmdChangeRole_Click()
{
    if (!allowed())
        return;
    const std::optional<UserAccounts::User> user = selected();
    if (!user)
        return;
    const Role role = Role(m_cboRole->currentData().toInt());
    const QString salesPerson =
        role == Role::Salesperson ? m_txtSalesPerson->text().trimmed() : QString();
    if (role == Role::Salesperson && salesPerson.isEmpty()) {
        fail(salesPersonMissing());
        return;
    }
    QString error;
    if (!m_accounts.setRole(user->userName, role, salesPerson, &error))
        fail(error);
    reload();
}

void UsersWindow::cmdResetPassword_Click()
{
    if (!allowed())
        return;
    const std::optional<UserAccounts::User> user = selected();
    if (!user)
        return;
    const std::optional<QString> password = askPassword(user->userName);
    if (!password)
        return;
    QString error;
    if (!m_accounts.setPassword(user->userName, *password, &error))
        fail(error);
}

void UsersWindow::cmdDisable_Click()
{
    if (!allowed())
        return;
    const std::optional<UserAccounts::User> user = selected();
    if (!user)
        return;
    QString error;
    if (!m_accounts.setDisabled(user->userName, !user->disabled, &error))
        fail(error);
    reload();
}
