#include "legacy_test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>

#include <gtest/gtest.h>

QString fixturePath()
{
    return QStringLiteral(TARVEX_LEGACY_DATA "/Sales Log2.mdb");
}

QByteArray fixtureBytes()
{
    QFile file(fixturePath());
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

QJsonObject expectedFixture()
{
    QFile file(QStringLiteral(TARVEX_LEGACY_DATA "/expected.json"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QJsonDocument::fromJson(file.readAll()).object();
}

qint64 tenThousandths(const QString &decimal)
{
    const bool negative = decimal.startsWith(u'-');
    const QStringList parts = decimal.mid(negative ? 1 : 0).split(u'.');
    EXPECT_EQ(parts.size(), 2) << decimal.toStdString();
    EXPECT_EQ(parts.value(1).size(), 4) << decimal.toStdString();
    const qint64 units = parts.value(0).toLongLong() * 10000 + parts.value(1).toLongLong();
    return negative ? -units : units;
}

void placeFixture(const TempProgramFolder &dir)
{
    dir.writeBytes(QStringLiteral("Sales Log2.mdb"), fixtureBytes());
}

QStringList folderNames(const QString &path)
{
    QStringList names =
        QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}
