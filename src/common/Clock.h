// "Now" for the whole program, fixed to the second by tests.
#pragma once

#include <QDateTime>
#include <optional>

namespace korv {

class Clock {
public:
    // The current wall-clock time without fractions of a second.
    static QDateTime now();
    // Tests fix the moment; nullopt returns to the system time.
    static void setFixed(std::optional<QDateTime> moment);
};

}  // namespace korv
