#pragma once

#include "common/prompts.h"

#include <QString>

#include <functional>

// The questions asked when the user leaves the program: whether to back up
// the deal database first, where to, and, without a backup, whether to leave
// at all. Returns true when the program is to end.
//
// `backUp` copies the live database to the chosen path; it returns false with
// an error text when the copy could not be made (for example onto the live
// file itself). Without `backUp` no backup is offered.
class ExitSequence
{
public:
    using BackUp = std::function<bool(const QString &target, QString *error)>;

    ExitSequence(Prompts &prompts, QString liveDatabasePath, BackUp backUp);

    bool run();

private:
    bool offerBackup();

    Prompts &m_prompts;
    QString m_liveDatabasePath;
    BackUp m_backUp;
};
