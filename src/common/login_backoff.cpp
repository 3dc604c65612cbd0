#include "common/login_backoff.h"

#include <algorithm>

namespace LoginBackoff {

qint64 secondsToWait(int failuresInRow, const QDateTime &lastFailure, const QDateTime &now)
{
    if (failuresInRow < kFreeFailures || !lastFailure.isValid())
        return 0;
    constexpr qint64 kDay = 24 * 60 * 60;
    const int doublings = std::min(failuresInRow - kFreeFailures, 17);
    const qint64 delayMs = std::min(qint64(1000) << doublings, kDay * 1000);
    const qint64 leftMs = lastFailure.msecsTo(now) < 0 ? delayMs
                                                       : delayMs - lastFailure.msecsTo(now);
    if (leftMs <= 0)
        return 0;
    return (leftMs + 999) / 1000;
}

} // namespace LoginBackoff
