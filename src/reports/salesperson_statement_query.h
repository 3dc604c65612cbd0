#pragma once

#include "reports/salesperson_statement.h"

#include <optional>

class DealDatabase;

// Reads what a salesperson's statement is made from, in one read-only
// transaction (the statement sees the database as it stood at one moment,
// and never writes). The salesperson's deal rows and ledger entries are
// found through their indexes by name and date; the sheets by the day they
// were printed.
namespace SalespersonStatementQuery {

// std::nullopt, with the database's words in `error`, when it cannot be read.
std::optional<SalespersonStatement::Records> read(DealDatabase &database,
                                                  const QString &salesPerson,
                                                  const StatementPeriod &period, QString *error);

// The statement itself: read, then put together.
std::optional<SalespersonStatement::Statement> statement(DealDatabase &database,
                                                         const QString &salesPerson,
                                                         const StatementPeriod &period,
                                                         QString *error);

} // namespace SalespersonStatementQuery
