#include "admin/ui/login_window.h"

#include "admin/first_password.h"

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
    : LoginWindow(std::make_unique<FileLoginCheck>(std::move(storedPassword), std::move(file)),
                  QString(), prompts, parent)
{
}

LoginWindow::LoginWindow(std::unique_ptr<LoginCheck> check, const QString &userName,
                         Prompts &prompts, QWidget *parent)
    : QDialog(parent), m_check(std::move(check)), m_prompts(prompts)
{
    build();
    if (m_check->asksUserName())
        m_userName->setText(userName);
}

LoginWindow::~LoginWindow() = default;

QString LoginWindow::userName() const
{
    return m_userName->text().trimmed();
}

void LoginWindow::build()
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

bool LoginWindow::typedPasswordIsRight(const QString &wrongText, const QString &wrongTitle)
{
    const LoginCheck::Outcome outcome = m_check->check(userName(), m_password->text());
    switch (outcome.kind) {
    case LoginCheck::Outcome::Kind::Right:
        return true;
    case LoginCheck::Outcome::Kind::Wrong:
        m_prompts.message(wrongText, wrongTitle);
        break;
    case LoginCheck::Outcome::Kind::Wait:
        m_prompts.message(outcome.message, QStringLiteral("Login"), Prompts::Icon::Warning);
        break;
    case LoginCheck::Outcome::Kind::Failed:
        m_prompts.message(outcome.message, QStringLiteral("Login"), Prompts::Icon::Critical);
        break;
    }
    return false;
}

void LoginWindow::focusPassword()
{
    if (m_check->asksUserName() && m_userName->text().trimmed().isEmpty())
        m_userName->setFocus();
    else
        m_password->setFocus();
}

void LoginWindow::okClicked()
{
    if (typedPasswordIsRight(invalidPasswordMessage(), QStringLiteral("Login"))) {
        m_loggedIn = true;
        m_password->clear();
        accept();
        return;
    }
    focusPassword();
    m_password->clear();
}

std::optional<QString> LoginWindow::askNewPassword()
{
    // PW.txt's change asks once, in plain view, as it always has; a user's
    // change asks twice, masked.
    if (!m_check->confirmsNewPassword())
        return m_prompts.input(newPasswordPrompt(), changeTitle());
    for (;;) {
        const auto first =
            m_prompts.input({newPasswordPrompt(), changeTitle(), {}, Prompts::Echo::Password});
        if (!first)
            return std::nullopt;
        const auto second = m_prompts.input(
            {FirstPassword::confirmPrompt(), changeTitle(), {}, Prompts::Echo::Password});
        if (!second)
            return std::nullopt;
        if (*second == *first)
            return first;
        m_prompts.message(FirstPassword::mismatchMessage(), changeTitle(), Prompts::Icon::Warning);
    }
}

void LoginWindow::cancelClicked()
{
    m_loggedIn = false;
    reject();
}

void LoginWindow::changeClicked()
{
    if (!typedPasswordIsRight(currentPasswordMessage(), {})) {
        focusPassword();
        return;
    }
    const auto newPassword = askNewPassword();
    if (!newPassword) {
        // Cancel in the box changes nothing: the old password stays in force.
        focusPassword();
        return;
    }
    if (const QString refusal = m_check->refusalOf(*newPassword); !refusal.isEmpty()) {
        m_prompts.message(refusal + QStringLiteral("\nThe password has not been changed."),
                          changeTitle(), Prompts::Icon::Warning);
        focusPassword();
        return;
    }
    QString message;
    if (!m_check->store(userName(), *newPassword, &message)) {
        m_prompts.message(message, changeTitle(), Prompts::Icon::Critical);
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
