#include "second_desk.h"

#include <QSqlError>
#include <QSqlQuery>

#include <gtest/gtest.h>

namespace {

bool run(QSqlQuery &query, const QString &statement, const QVariantList &values)
{
    if (!query.prepare(statement))
        return false;
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(int(i), values.at(i));
    return query.exec();
}

} // namespace

SecondDesk::~SecondDesk() = default;

std::unique_ptr<DealDatabase> SecondDesk::connectionLike(const DealDatabase &first)
{
    return first.engine() == StoreEngine::Engine::SQLite
               ? std::make_unique<DealDatabase>(first.filePath())
               : std::make_unique<DealDatabase>(first.server());
}

std::unique_ptr<DealDatabase> SecondDesk::openSecondDesk(const DealDatabase &first)
{
    auto other = connectionLike(first);
    QString error;
    EXPECT_TRUE(other->open(&error)) << error.toStdString();
    return other;
}

DealDatabase &SecondDesk::otherDesk(const DealDatabase &first)
{
    if (!m_other)
        m_other = openSecondDesk(first);
    return *m_other;
}

void SecondDesk::atOtherDesk(const DealDatabase &first, const QString &statement,
                             const QVariantList &values)
{
    QSqlDatabase db = otherDesk(first).connection();
    ASSERT_TRUE(db.transaction()) << db.lastError().text().toStdString();
    QSqlQuery query(db);
    const bool done = run(query, statement, values);
    const QString why = query.lastError().text();
    query.finish();
    if (!done) {
        db.rollback();
        FAIL() << statement.toStdString() << ": " << why.toStdString();
    }
    ASSERT_TRUE(db.commit()) << db.lastError().text().toStdString();
}

QVariant SecondDesk::readAtOtherDesk(const DealDatabase &first, const QString &query,
                                     const QVariantList &values)
{
    QSqlQuery read(otherDesk(first).connection());
    EXPECT_TRUE(run(read, query, values)) << read.lastError().text().toStdString();
    return read.next() ? read.value(0) : QVariant();
}
