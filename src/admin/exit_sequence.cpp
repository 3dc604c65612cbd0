#include "admin/exit_sequence.h"

ExitSequence::ExitSequence(Prompts &prompts, QString liveDatabasePath, BackUp backUp)
    : m_prompts(prompts), m_liveDatabasePath(std::move(liveDatabasePath)),
      m_backUp(std::move(backUp))
{
}

bool ExitSequence::run()
{
    // Without a copy to make (deals kept on a server, whose backups are the
    // server's), only the last question is asked.
    if (m_backUp) {
        const auto backUp =
            m_prompts.message(QStringLiteral("Do you want to back-up database?"), {},
                              Prompts::Icon::Question, Prompts::Buttons::YesNo);
        if (backUp == Prompts::Answer::Yes)
            return offerBackup();
    }

    const auto leave = m_prompts.message(QStringLiteral("Do you want to exit?"),
                                         QStringLiteral("Exit"), Prompts::Icon::None,
                                         Prompts::Buttons::YesNo);
    return leave == Prompts::Answer::Yes;
}

bool ExitSequence::offerBackup()
{
    Prompts::SaveFile request;
    request.initialPath = m_liveDatabasePath;
    request.nameFilters = {QStringLiteral("Database Files (*.mdb)")};
    request.defaultSuffix = QStringLiteral("mdb");
    request.confirmOverwrite = true;

    // A refused or failed copy is said plainly and the user may choose
    // another place; Cancel leaves without a copy.
    for (;;) {
        const auto target = m_prompts.saveFile(request);
        if (!target)
            return true;
        QString error;
        if (m_backUp(*target, &error)) {
            m_prompts.message(QStringLiteral("Database successfully backed-Up."));
            return true;
        }
        m_prompts.message(QStringLiteral("The database was not backed up.\n\n%1\n\n"
                                         "Choose another place for the copy, or Cancel to "
                                         "exit without a backup.")
                              .arg(error),
                          {}, Prompts::Icon::Warning);
        request.initialPath = *target;
    }
}
