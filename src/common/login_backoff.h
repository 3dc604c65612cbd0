#pragma once

#include <QDateTime>

// How long a login waits after wrong passwords: the first five in a row cost
// nothing; from then on the next attempt waits 1 s after the last failure,
// doubling with each further failure (2 s, 4 s, ...), at most a day.
namespace LoginBackoff {

inline constexpr int kFreeFailures = 5;

// The seconds still to wait at `now`, 0 when an attempt may be made.
qint64 secondsToWait(int failuresInRow, const QDateTime &lastFailure, const QDateTime &now);

} // namespace LoginBackoff
