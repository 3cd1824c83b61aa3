#pragma once

class QCommandLineParser;

namespace dwell {

// `dwell join -o FILE BAND...`: puts the bands of a poster rendered with
// --tile together into one PNG, a strip at a time, so that no picture is
// ever held whole. The exit status as runCommandLine's.
int runJoin(const QCommandLineParser &parser);

} // namespace dwell
