#pragma once

#include <QString>

#include <optional>

// What each role may do. A command a role may not use is hidden from its
// menus and toolbar and, where it is carried out, refused through check():
// the one place that decides.
//
// - Manager: everything.
// - Clerk: enter, calculate, save, recall and delete deals, print slips and
//   reports, the roster; not the Setup figures, users, table windows, the
//   audit trail, paying or voiding sheets.
// - Salesperson: looks only: recalls deals and prints their slips; saves,
//   deletes and changes nothing.
enum class Role { Manager, Clerk, Salesperson };

namespace Permissions {

enum class Command {
    EnterDeal,    // calculate, save, delete a deal
    RecallDeal,   // open the deal finder, show a deal
    PrintSlip,    // the commission slip
    Reports,      // the report chooser: sales log, summary, printed sheets
    Roster,       // Add/Delete Salesperson
    SetupFigures, // pack, commission, warranty, mini deal, unit descriptions
    TableWindows, // the SalesLog and SalesSummary table windows
    AuditTrail,   // the audit trail window
    Users,        // the users window
    PaySheets,    // printing a commission sheet that pays deals, voiding one
    PayPlans,     // the salespeople's pay plans
};

bool allows(Role role, Command command);

// The role's name as stored and shown ("Manager", "Clerk", "Salesperson").
QString roleName(Role role);
// The role of a stored name; nullopt for any other text.
std::optional<Role> roleFrom(const QString &name);

} // namespace Permissions

class Prompts;

// The signed-in user as the commands see it: the name the audit trail
// records, the role, and for a salesperson the roster name they are tied to.
// The default is the manager of an installation with one password.
class Access
{
public:
    Access() = default;
    Access(QString userName, Role role, QString salesPerson = {})
        : m_userName(std::move(userName)), m_role(role), m_salesPerson(std::move(salesPerson))
    {
    }

    const QString &userName() const { return m_userName; }
    Role role() const { return m_role; }
    const QString &salesPerson() const { return m_salesPerson; }

    bool allows(Permissions::Command command) const
    {
        return Permissions::allows(m_role, command);
    }
    // True when the command may run; otherwise tells the user so and
    // returns false.
    bool check(Permissions::Command command, Prompts &prompts) const;

    static QString refusal(Role role);

private:
    QString m_userName;
    Role m_role = Role::Manager;
    QString m_salesPerson;
};
