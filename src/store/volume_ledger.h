#pragma once

#include "common/money.h"
#include "pay/volume_bonus.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// The month's volume as the store holds it: a salesperson's rows of a
// calendar month, and the volume bonus the sheets paid for it ("Ledger"
// lines of the kind "Volume bonus", dated the first of the month, on sheets
// not voided). Runs on the connection given, inside the caller's
// transaction when there is one.
namespace VolumeLedger {

// The first day of the month `date` falls in.
QDate monthOf(const QDate &date);

// The salesperson's rows dated in the month (a row marked unwound when its
// deal was unwound whole in the month), and the rows of earlier months
// whose deals were unwound whole in it.
std::optional<QList<VolumeBonus::MonthRow>> monthRows(QSqlDatabase db, const QString &salesPerson,
                                                      const QDate &month, QString *error);

// What sheets not voided paid the salesperson as the month's volume bonus.
std::optional<Money> paidFor(QSqlDatabase db, const QString &salesPerson, const QDate &month,
                             QString *error);

// Records a sheet's volume bonus line for the month (a correction may be
// negative), with its audit entry.
bool recordBonus(QSqlDatabase db, qint64 sheetId, const QString &salesPerson, const QDate &month,
                 Money amount, const QString &text, QString *error);

// Keeps two desks from paying one salesperson's month at once: on a server
// a lock held to the end of the transaction; a file's write transaction
// holds the whole file already.
bool lockSalesPerson(QSqlDatabase db, const QString &salesPerson, QString *error);

} // namespace VolumeLedger
