// The deep engine's figures: bilinear steps against plain perturbation on the
// same pictures, the reference orbit's and the table's cost, and the
// perturbation loop's rate beside the plain kernel's.
//
//   dwell_deep_bench             the locations in DeepScenes.h
//   dwell_deep_bench find X Y P  a minibrot nucleus near (X, Y), period up to P
#include "BigFloat.h"
#include "DeepRenderer.h"
#include "DeepScenes.h"
#include "KernelPaths.h"
#include "Nucleus.h"
#include "Scenes.h"
#include "mandel.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace dwell {
namespace {

std::string toText(const ExtendedFloat &value)
{
    BigFloat text(24);
    text.set(value);
    return text.toText();
}

std::optional<Nucleus> nucleusNear(const std::string &x, const std::string &y, int maxPeriod)
{
    // Ample digits for a guess given to the last digit of its text.
    const long bits = long(std::max(x.size(), y.size()) * 4) + 128;
    const int period = atomPeriod(x, y, maxPeriod, bits);
    std::optional<Nucleus> nucleus = findNucleus(x, y, period, bits);
    // The nucleus needs digits well below its minibrot's size: again with those.
    if (nucleus && -nucleus->size.exponent + 96 > bits) {
        const long more = -long(nucleus->size.exponent) + 128;
        nucleus = findNucleus(nucleus->centerX, nucleus->centerY, period, more);
    }
    return nucleus;
}

int find(const std::string &x, const std::string &y, int maxPeriod)
{
    const std::optional<Nucleus> nucleus = nucleusNear(x, y, maxPeriod);
    if (!nucleus) {
        std::printf("no nucleus found\n");
        return 1;
    }
    std::printf("period %d\ncentre %s,%s\nsize %s\n", nucleus->period, nucleus->centerX.c_str(),
                nucleus->centerY.c_str(), toText(nucleus->size).c_str());
    return 0;
}

DeepPicture render(const DeepScene &scene, const Nucleus &nucleus, Perturbation::Shortcuts how)
{
    const int width = scene.pixels;
    const int height = scene.pixels * 3 / 4;
    DeepRequest request;
    const ExtendedFloat planeWidth = ExtendedFloat::of(4.0) * nucleus.size;
    request.window = {nucleus.centerX, nucleus.centerY,
                      planeWidth / ExtendedFloat::of(double(width)), width, height};
    request.maxDwell = scene.maxDwell;
    request.shortcuts = how;
    return *renderDeep(request);
}

// The plain kernel's rate on a boundary scene, where every path iterates every step.
double kernelRate(KernelPath path)
{
    const KernelScene &scene = kSpiralScene;
    std::vector<int> dwells(std::size_t(scene.width));
    const auto start = std::chrono::steady_clock::now();
    long long iterations = 0;
    for (int line = 0; line < scene.height; ++line) {
        mandelLineWith(path, 0.0, 0.0, 4.0, scene.x, scene.yTop - scene.step * line, scene.step,
                       scene.maxdwell, scene.width, dwells.data());
        iterations += lineIterations(dwells.data(), scene.width, scene.maxdwell);
    }
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    return double(iterations) / seconds.count();
}

long differingPixels(const BitmapImage &a, const BitmapImage &b)
{
    long count = 0;
    for (std::size_t i = 0; i + 2 < a.byteCount(); i += 3)
        count += !std::equal(a.bitmapData() + i, a.bitmapData() + i + 3, b.bitmapData() + i);
    return count;
}

void compare(const DeepScene &scene)
{
    const std::string distance = "3e-" + std::to_string(scene.guessExponent);
    const std::string above = "1." + std::string(std::size_t(scene.guessExponent - 1), '0') + "3";
    const std::optional<Nucleus> nucleus = nucleusNear(distance, above, 100000);
    if (!nucleus) {
        std::printf("%-16s no nucleus found\n", scene.name);
        return;
    }
    const DeepPicture bla = render(scene, *nucleus, Perturbation::Shortcuts::Bilinear);
    const DeepPicture plain = render(scene, *nucleus, Perturbation::Shortcuts::None);
    const double blaLoop = bla.seconds - bla.referenceSeconds - bla.tableSeconds;
    const double plainLoop = plain.seconds - plain.referenceSeconds;
    const std::size_t orbitLength = std::max<std::size_t>(bla.referenceBytes / 48, 1);
    std::printf("%-16s period %4d, %8d %3d | ref %7.3f s %3zu B/it | table %6.3f s %5.1f MB | "
                "bla %8.3f s  plain %8.3f s  %6.1fx | plain %.3g it/s, %ld pixels differ\n",
                scene.name, nucleus->period, scene.maxDwell, scene.pixels, bla.referenceSeconds,
                bla.referenceBytes / orbitLength, bla.tableSeconds, bla.tableBytes / 1e6, blaLoop,
                plainLoop, plainLoop / blaLoop, double(plain.iterations) / plainLoop,
                differingPixels(bla.image, plain.image));
}

} // namespace
} // namespace dwell

int main(int argc, char **argv)
{
    using namespace dwell;
    if (argc == 5 && std::string(argv[1]) == "find")
        return find(argv[2], argv[3], std::atoi(argv[4]));
    std::printf("one thread; times exclude the reference orbit (and the table)\n");
    for (const KernelPath path : kAllKernelPaths)
        if (isAvailable(path))
            std::printf("plain kernel, %s path: %.3g it/s\n", kernelPathName(path),
                        kernelRate(path));
    for (const DeepScene &scene : kDeepScenes)
        if (argc < 2 || scene.name == std::string(argv[1]))
            compare(scene);
    return 0;
}
