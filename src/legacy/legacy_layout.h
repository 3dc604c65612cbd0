#pragma once

#include "access_value.h"

#include <QString>
#include <QStringList>

// The older program's Access database as it lies on disk: the four tables and
// the Access type each of their columns holds. The column names and order are
// those of this program's own tables.
namespace LegacyLayout {

inline constexpr const char *kAccessFileName = "Sales Log2.mdb";
inline constexpr const char *kKeptFileName = "Sales Log2 (Access).mdb";
inline constexpr const char *kReportFileName = "import.log";

// SalesSummary, SalesLog, RecallDeal, SalesPersons: the order they are read in.
QStringList tables();

// The Access type a column holds in the older database.
AccessType expectedType(const QString &table, const QString &column);

// Whether a column stored as `actual` can be read where `expected` belongs
// (the narrower whole-number types for Long, Double for Single).
bool accepts(AccessType expected, AccessType actual);

} // namespace LegacyLayout
