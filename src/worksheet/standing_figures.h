#pragma once

#include "common/program_folder.h"

#include <QString>
#include <QStringList>

// The standing figures of the commission plan and the list of vehicle
// descriptions, as kept in the small settings files beside the program:
// dp.dat (new pack, used pack), dc.dat (commission percentage), war.txt
// (warranty spiff), mini.txt (mini deal) and unit.txt (one description a
// line). Values are text exactly as the user typed them; turning them into
// amounts is their users' business.
struct StandingFigures
{
    QString newPack = QStringLiteral("300");
    QString usedPack = QStringLiteral("500");
    QString commission = QStringLiteral("30");
    QString warranty = QStringLiteral("30");
    QString mini = QStringLiteral("100");
    QStringList units; // in file order

    // The file names, as they lie in the program folder.
    static QString packFile() { return QStringLiteral("dp.dat"); }
    static QString commissionFile() { return QStringLiteral("dc.dat"); }
    static QString warrantyFile() { return QStringLiteral("war.txt"); }
    static QString miniFile() { return QStringLiteral("mini.txt"); }
    static QString unitFile() { return QStringLiteral("unit.txt"); }

    // Reads the five files. A missing file is first created with its default
    // ("300","500" / "30" / "30" / "100" / an empty unit list). A file that
    // cannot be read keeps the defaults of its figures (an empty unit list);
    // a figure whose file holds no number for it (too few values, letters,
    // blanks, a stray byte) takes its default, since it would otherwise count
    // as 0. Never fails: `problems` collects one sentence for each file and
    // figure concerned, saying what is used instead.
    static StandingFigures load(const ProgramFolder &folder, QStringList *problems = nullptr);
    // The one message that tells the user about `problems`.
    static QString problemReport(const QStringList &problems);

    // A war.txt holding exactly "0" switches warranty entry off.
    bool warrantyEntryOff() const { return warranty == u"0"; }
};
