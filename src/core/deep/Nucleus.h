#pragma once

#include "ExtendedFloat.h"

#include <optional>
#include <string>

namespace dwell {

// The centre of a minibrot: the parameter whose orbit from 0 returns to 0
// after period steps, with the minibrot's approximate width.
struct Nucleus {
    std::string centerX;
    std::string centerY;
    int period = 0;
    ExtendedFloat size;
};

// The period of the smallest atom domain holding c: the last step, before
// the orbit from 0 escapes or maxPeriod, at which |z| reaches a new low.
// Zero when c is not a number.
int atomPeriod(const std::string &centerX, const std::string &centerY, int maxPeriod, long bits);

// Newton's method on z_period(c) = 0 from the guess, with z' <- 2 z z' + 1,
// in MPFR at the given binary digits. Nothing when it does not settle.
std::optional<Nucleus> findNucleus(const std::string &guessX, const std::string &guessY, int period,
                                   long bits);

} // namespace dwell
