#pragma once

#include "store/deal_database.h"

#include <QString>
#include <QVariant>
#include <QVariantList>

#include <memory>

// Another desk on the database a test has open: a second Tarvex process with
// its own connection to the same deal database. A fixture mixes this in
// beside its own database; the desk is opened on first use.
//
// openSecondDesk() is the one step that knows the engine: on SQLite it opens
// the same file again; a fixture for a server engine opens a second
// connection to its server instead.
class SecondDesk
{
public:
    virtual ~SecondDesk();

    // A new connection, not yet open, to the deal database `first` is on:
    // the same file, or the same server database.
    static std::unique_ptr<DealDatabase> connectionLike(const DealDatabase &first);

    // The other desk, opened on `first`'s database the first time; fails the
    // test when it cannot be opened.
    DealDatabase &otherDesk(const DealDatabase &first);
    // Runs a statement with bound values at the other desk, in a transaction
    // of its own; fails the test on error.
    void atOtherDesk(const DealDatabase &first, const QString &statement,
                     const QVariantList &values = {});
    // The first value a query gives at the other desk (null when none).
    QVariant readAtOtherDesk(const DealDatabase &first, const QString &query,
                             const QVariantList &values = {});

protected:
    virtual std::unique_ptr<DealDatabase> openSecondDesk(const DealDatabase &first);

private:
    std::unique_ptr<DealDatabase> m_other;
};
