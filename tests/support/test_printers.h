#pragma once

#include "common/money.h"
#include "worksheet/deal.h"

#include <QString>

#include <ostream>

// GoogleTest printers: a failed expectation shows the values, not their bytes.
void PrintTo(const QString &text, std::ostream *out);
void PrintTo(const Money &amount, std::ostream *out);
void PrintTo(const Deal &deal, std::ostream *out);
