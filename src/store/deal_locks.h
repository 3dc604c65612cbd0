#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>

// The locks a sheet and a void take before they change SalesSummary rows, in
// the store's one order (StoreEngine, "The order of locks"): the keys of the
// rows' deals, the rows by rowid, then the sheet. Each runs inside the
// caller's write transaction on the server and holds its locks until that
// transaction ends; on a file the write transaction holds the whole file
// already and nothing is done.
namespace DealLocks {

// How long a sheet waits for rows another desk holds before it is refused.
inline constexpr int kSheetWaitMilliseconds = 2000;

// Before paying `rowIds`: waits at most kSheetWaitMilliseconds for them, so
// that sheets for the same salespeople do not queue behind each other. A
// wait that runs out fails with StoreSql::Fault::LockWait.
bool forPaying(QSqlDatabase db, const QList<qint64> &rowIds, QString *error);

// Before voiding the sheet `sheetId`: its rows' deals, its rows, the sheet.
bool forVoiding(QSqlDatabase db, qint64 sheetId, QString *error);

// Of `rowIds`, those another desk holds locked (or that are gone) at this
// moment; outside any transaction. Empty on a file.
QList<qint64> heldElsewhere(QSqlDatabase db, const QList<qint64> &rowIds, QString *error);

} // namespace DealLocks
