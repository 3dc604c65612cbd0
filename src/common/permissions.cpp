#include "common/permissions.h"

#include "common/prompts.h"

namespace Permissions {

bool allows(Role role, Command command)
{
    switch (role) {
    case Role::Manager:
        return true;
    case Role::Clerk:
        switch (command) {
        case Command::EnterDeal:
        case Command::RecallDeal:
        case Command::PrintSlip:
        case Command::Reports:
        case Command::Roster:
            return true;
        case Command::SetupFigures:
        case Command::TableWindows:
        case Command::AuditTrail:
        case Command::Users:
        case Command::PaySheets:
        case Command::PayPlans:
            return false;
        }
        return false;
    case Role::Salesperson:
        return command == Command::RecallDeal || command == Command::PrintSlip;
    }
    return false;
}

QString roleName(Role role)
{
    switch (role) {
    case Role::Manager:
        return QStringLiteral("Manager");
    case Role::Clerk:
        return QStringLiteral("Clerk");
    case Role::Salesperson:
        return QStringLiteral("Salesperson");
    }
    return {};
}

std::optional<Role> roleFrom(const QString &name)
{
    for (const Role role : {Role::Manager, Role::Clerk, Role::Salesperson}) {
        if (name == roleName(role))
            return role;
    }
    return std::nullopt;
}

} // namespace Permissions

QString Access::refusal(Role role)
{
    return QStringLiteral("The %1 role does not allow this.").arg(Permissions::roleName(role));
}

bool Access::check(Permissions::Command command, Prompts &prompts) const
{
    if (allows(command))
        return true;
    prompts.message(refusal(m_role), {}, Prompts::Icon::Warning);
    return false;
}
