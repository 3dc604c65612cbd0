#pragma once

#include "child_test.h"
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


