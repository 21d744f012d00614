// The system clock, or the moment a test has fixed.
#include "common/Clock.h"

#include "data/Values.h"

namespace korv {

namespace {
std::optional<QDateTime> g_fixed;
}

QDateTime Clock::now()
{
    if (g_fixed)
        return *g_fixed;
    const QDateTime local = QDateTime::currentDateTime();
    const QTime t = local.time();
    return wallClock(local.date(), QTime(t.hour(), t.minute(), t.second()));
}

void Clock::setFixed(std::optional<QDateTime> moment)
{
    if (moment)
        g_fixed = wallClock(moment->date(), moment->time());
    else
        g_fixed.reset();
}

}  // namespace korv
