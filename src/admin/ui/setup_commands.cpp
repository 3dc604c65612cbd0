#include "admin/ui/setup_commands.h"

#include "common/money.h"
#include "worksheet/entry_rules.h"
#include "worksheet/standing_figures.h"
#include "admin/ui/main_menu.h"
#include "worksheet/ui/deal_worksheet.h"

#include <memory>

SetupCommands::SetupCommands(DealWorksheet &form, const ProgramFolder &folder, Prompts &prompts)
    : m_form(form), m_prompts(prompts), m_files(folder)
{
}

void SetupCommands::defaultPack()
{
    const QString oldNew = m_form.defaultNewPack();
    const QString oldUsed = m_form.defaultUsedPack();
    // The second box comes whatever the first was answered.
    const QString newPack = askNumber(QStringLiteral("Enter your normal New pack."),
                                QStringLiteral("Default New Car Pack"), QStringLiteral("300"));
    m_form.setDefaultNewPack(newPack);
    const QString usedPack = askNumber(QStringLiteral("Enter your normal Used pack."),
                                 QStringLiteral("Default Used CarPack"), QStringLiteral("500"));
    m_form.setDefaultUsedPack(usedPack);

    if (newPack.isEmpty() || usedPack.isEmpty()) {
        m_form.reloadStandingFigures();
        return;
    }
    if (!writeFigures(StandingFigures::packFile(), {newPack, usedPack})) {
        m_form.setDefaultNewPack(oldNew);
        m_form.setDefaultUsedPack(oldUsed);
    }
}

void SetupCommands::defaultCommission()
{
    askFigure({QStringLiteral("Enter your normal commission percentage.                   "
                              "(ie. enter 30% as 30)."),
               QStringLiteral("Default Comm Percent"), QStringLiteral("30"),
               StandingFigures::commissionFile(), &DealWorksheet::defaultCommission,
               &DealWorksheet::setDefaultCommission});
}

void SetupCommands::defaultWarranty()
{
    // A "0" switches warranty entry off only at the next start-up.
    askFigure({QStringLiteral("Enter your normal warranty spiff."),
               QStringLiteral("Default Warranty Spiff"), QStringLiteral("30"),
               StandingFigures::warrantyFile(), &DealWorksheet::defaultWarranty,
               &DealWorksheet::setDefaultWarranty});
}

void SetupCommands::defaultMini()
{
    askFigure({QStringLiteral("Enter your normal mini deal."), QStringLiteral("Default Mini"),
               QStringLiteral("100"), StandingFigures::miniFile(), &DealWorksheet::defaultMini,
               &DealWorksheet::setDefaultMini});
}

void SetupCommands::addUnit()
{
    for (;;) {
        const QString description =
            ask(QStringLiteral("Add vehicle discription (ie. Explorer Spt)"), QStringLiteral("Add"),
                {});
        if (description.isEmpty())
            break;
        const SetupFiles::Result result = m_files.appendUnit(description);
        if (result == SetupFiles::Result::Written)
            continue;
        m_prompts.message(m_files.message(), {}, Prompts::Icon::Warning);
        // A refused description may be typed again; a file that cannot be
        // written ends the series.
        if (result == SetupFiles::Result::Failed)
            break;
    }
    m_form.reloadStandingFigures();
}

void SetupCommands::deleteUnit()
{
    m_form.openUnitPanel();
}

void SetupCommands::askFigure(const Figure &figure)
{
    const QString old = (m_form.*figure.get)();
    const QString answer = askNumber(figure.prompt, figure.title, figure.offered);
    (m_form.*figure.set)(answer);
    if (answer.isEmpty()) {
        m_form.reloadStandingFigures();
        return;
    }
    if (!writeFigures(figure.fileName, {answer}))
        (m_form.*figure.set)(old);
}

QString SetupCommands::ask(const QString &prompt, const QString &title, const QString &offered)
{
    // Cancel and an emptied box are the same answer.
    return m_prompts.input(prompt, title, offered).value_or(QString());
}

QString SetupCommands::askNumber(const QString &prompt, const QString &title,
                                 const QString &offered)
{
    // A figure that is no number would only be replaced by its default at
    // the next start.
    for (;;) {
        const QString answer = ask(prompt, title, offered);
        if (!EntryRules::refusesAsNumber(answer))
            return answer;
        m_prompts.message(EntryRules::validNumberMessage());
    }
}

bool SetupCommands::writeFigures(const QString &fileName, const QStringList &values)
{
    if (m_files.replaceFigures(fileName, values) == SetupFiles::Result::Written)
        return true;
    m_prompts.message(m_files.message(), {}, Prompts::Icon::Warning);
    return false;
}

void installSetupCommands(MainMenu &menu, DealWorksheet &form, const ProgramFolder &folder,
                          Prompts &prompts)
{
    const auto commands = std::make_shared<SetupCommands>(form, folder, prompts);
    const std::pair<const char *, void (SetupCommands::*)()> entries[] = {
        {"tbrPack", &SetupCommands::defaultPack},
        {"tbrComm", &SetupCommands::defaultCommission},
        {"tbrWarranty", &SetupCommands::defaultWarranty},
        {"tbrMini", &SetupCommands::defaultMini},
        {"tbrAddUnit", &SetupCommands::addUnit},
        {"tbrDeleteUnit", &SetupCommands::deleteUnit},
    };
    for (const auto &[key, run] : entries)
        menu.setCommand(QString::fromLatin1(key), [commands, run] { ((*commands).*run)(); });
}
