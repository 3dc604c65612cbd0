#include "admin/ui/login_window.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLabel *makeLabel(const QString &name, const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setBuddy(buddy);
    return label;
}

QPushButton *makeButton(const QString &name, const QString &text, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

LoginWindow::LoginWindow(QString storedPassword, PasswordFile file, Prompts &prompts,
                         QWidget *parent)
    : QDialog(parent), m_storedPassword(std::move(storedPassword)), m_file(std::move(file)),
      m_prompts(prompts)
{
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(QStringLiteral("Login"));

    m_userName = new QLineEdit(QStringLiteral("SalesManager"), this);
    m_userName->setObjectName(QStringLiteral("txtUserName"));
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("txtPassword"));
    m_password->setEchoMode(QLineEdit::Password);
    // Every typed character shows as "*".
    m_password->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));

    m_ok = makeButton(QStringLiteral("cmdOK"), QStringLiteral("OK"), this);
    m_ok->setDefault(true);
    m_cancel = makeButton(QStringLiteral("cmdCancel"), QStringLiteral("Cancel"), this);
    m_change = makeButton(QStringLiteral("cmdChange"), QStringLiteral(" Change Password"), this);

    auto *grid = new QGridLayout;
    grid->addWidget(
        makeLabel(QStringLiteral("lblLabels_0"), QStringLiteral("&User Name:"), m_userName, this),
        0, 0);
    grid->addWidget(m_userName, 0, 1);
    grid->addWidget(
        makeLabel(QStringLiteral("lblLabels_1"), QStringLiteral("&Password:"), m_password, this), 1,
        0);
    grid->addWidget(m_password, 1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_change);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    setTabOrder(m_userName, m_password);
    setTabOrder(m_password, m_ok);
    setTabOrder(m_ok, m_cancel);
    setTabOrder(m_cancel, m_change);

    connect(m_ok, &QPushButton::clicked, this, &LoginWindow::okClicked);
    connect(m_cancel, &QPushButton::clicked, this, &LoginWindow::cancelClicked);
    connect(m_change, &QPushButton::clicked, this, &LoginWindow::changeClicked);
    m_password->setFocus();
}

QString LoginWindow::saveFailedMessage(const QString &path, const QString &error)
{
    return QStringLiteral("The new password could not be saved in %1:\n%2\n"
                          "The password has not been changed.")
        .arg(path, error);
}

bool LoginWindow::typedPasswordIsRight() const
{
    // Exact: letter case and leading or trailing blanks count.
    return m_password->text() == m_storedPassword;
}

void LoginWindow::focusPassword()
{
    m_password->setFocus();
}

void LoginWindow::okClicked()
{
    if (typedPasswordIsRight()) {
        m_loggedIn = true;
        m_password->clear();
        accept();
        return;
    }
    m_prompts.message(invalidPasswordMessage(), QStringLiteral("Login"));
    focusPassword();
    m_password->clear();
}

void LoginWindow::cancelClicked()
{
    m_loggedIn = false;
    reject();
}

void LoginWindow::changeClicked()
{
    if (!typedPasswordIsRight()) {
        m_prompts.message(currentPasswordMessage());
        focusPassword();
        return;
    }
    const auto newPassword = m_prompts.input(newPasswordPrompt(), changeTitle());
    if (!newPassword) {
        // Cancel in the box changes nothing: the old password stays in force.
        focusPassword();
        return;
    }
    if (!PasswordFile::canStore(*newPassword)) {
        m_prompts.message(PasswordFile::doubleQuoteRefusal() +
                              QStringLiteral("\nThe password has not been changed."),
                          changeTitle(), Prompts::Icon::Warning);
        focusPassword();
        return;
    }
    QString error;
    if (!m_file.write(*newPassword, &error)) {
        m_prompts.message(saveFailedMessage(m_file.path(), error), changeTitle(),
                          Prompts::Icon::Critical);
        focusPassword();
        return;
    }
    m_password->clear();
    m_loggedIn = true;
    accept();
}

void LoginWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    focusPassword();
}

void LoginWindow::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        focusPassword();
}
