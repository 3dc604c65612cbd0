#pragma once

#include "temp_program_folder.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

// The older installation's "Sales Log2.mdb" kept with the tests, and the
// file listing every value it holds.
QString fixturePath();
QByteArray fixtureBytes();
QJsonObject expectedFixture();

// A decimal text with four places as ten-thousandths: "730.7100" -> 7307100.
qint64 tenThousandths(const QString &decimal);

// Puts the fixture in a program folder as its "Sales Log2.mdb".
void placeFixture(const TempProgramFolder &dir);

// Every name in a folder, hidden ones included, sorted.
QStringList folderNames(const QString &path);

// Runs one test of this program in a child process with `variable` set to
// `value`; its exit: true when it ended normally with code 0, and the signal
// or code in `how`.
struct ChildEnd
{
    bool crashed = false;
    int exitCode = -1;
};
ChildEnd runChildTest(const QString &test, const QString &variable, const QString &value);
