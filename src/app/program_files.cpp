#include "app/program_files.h"

#include "store/deal_database.h"
#include "worksheet/standing_figures.h"

bool prepareProgramFiles(const ProgramFolder &folder, QString *error)
{
    QStringList problems;
    StandingFigures::load(folder, &problems);
    if (!problems.isEmpty()) {
        *error = problems.join(u'\n');
        return false;
    }
    DealDatabase database(folder);
    return database.open(error);
}
