#pragma once

#include <QString>

namespace dwell {

// One line on standard error, after the program's name.
void say(const QString &line);

// A bar of how much of the work is done, redrawn in place on a terminal.
void showProgress(long long done, long long total);
// Ends the bar's line, when one was drawn.
void endProgress();

} // namespace dwell
