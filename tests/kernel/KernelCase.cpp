#include "KernelCase.h"

#include <algorithm>
#include <sstream>

namespace dwell {

namespace {

constexpr int kGuard = 0x5eed;
constexpr int kSlack = 5;

} // namespace

LineResult runLine(KernelPath path, const LineArgs &a)
{
    const int n = std::max(a.w, 0);
    std::vector<int> storage(std::size_t(n) + 1 + kSlack, kGuard);
    int *const buf = storage.data() + 1;
    LineResult result;
    result.sum =
        mandelLineWith(path, a.originX, a.originY, a.bound, a.x, a.y, a.step, a.maxdwell, a.w, buf);
    result.dwells.assign(buf, buf + n);
    result.guardsIntact =
        storage.front() == kGuard &&
        std::all_of(buf + n, storage.data() + storage.size(), [](int v) { return v == kGuard; });
    return result;
}

std::string describe(const LineArgs &a)
{
    std::ostringstream out;
    out.precision(17);
    out << "origin (" << a.originX << ", " << a.originY << ") bound " << a.bound << " x " << a.x
        << " y " << a.y << " step " << a.step << " limit " << a.maxdwell << " w " << a.w;
    return out.str();
}

} // namespace dwell
