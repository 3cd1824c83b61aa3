#include "Console.h"

#include <cstdio>
#include <string>
#include <unistd.h>

namespace dwell {

namespace {

bool onTerminal()
{
    static const bool terminal = isatty(STDERR_FILENO);
    return terminal;
}

} // namespace

void say(const QString &line)
{
    std::fprintf(stderr, "dwell: %s\n", qPrintable(line));
}

void showProgress(long long done, long long total)
{
    if (!onTerminal())
        return;
    const int width = 40;
    const long long filled = total > 0 ? width * done / total : width;
    std::fprintf(stderr, "\r[%-*s] %3lld%%", width, std::string(std::size_t(filled), '#').c_str(),
                 total > 0 ? 100 * done / total : 100);
    std::fflush(stderr);
}

void endProgress()
{
    if (onTerminal())
        std::fputc('\n', stderr);
}

} // namespace dwell
