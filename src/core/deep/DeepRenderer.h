#pragma once

#include "BitmapImage.h"
#include "Coloring.h"
#include "Perturbation.h"
#include "ReferenceOrbit.h"

#include <memory>
#include <optional>
#include <string>

namespace dwell {

// A picture for the deep engine: where, how to iterate, on how many threads.
struct DeepRequest {
    DeepWindow window;
    double originX = 0.0;
    double originY = 0.0;
    double escapeRadius = 4.0;
    int maxDwell = 1000;
    int threads = 1;
    Perturbation::Shortcuts shortcuts = Perturbation::Shortcuts::Bilinear;
    Coloring coloring;
};

// The lines of one deep picture: the centre's reference orbit and its
// bilinear table, computed once, then any line on any thread.
class DeepLines {
public:
    // Nothing when the centre is not a number.
    static std::unique_ptr<DeepLines> prepare(const DeepRequest &request);

    // The line's dwells and |z|^2 past the escape, as the plain kernel gives them.
    void compute(int line, int *dwells, float *norms) const;

    double referenceSeconds() const { return m_referenceSeconds; }
    double tableSeconds() const { return m_tableSeconds; }
    std::size_t referenceBytes() const { return m_orbit.bytes(); }
    std::size_t tableBytes() const { return m_perturbation->tableBytes(); }

private:
    DeepLines(const DeepRequest &request, ReferenceOrbit orbit);

    DeepWindow m_window;
    int m_maxDwell;
    ReferenceOrbit m_orbit;
    std::optional<Perturbation> m_perturbation;
    double m_referenceSeconds = 0.0;
    double m_tableSeconds = 0.0;
};

struct DeepPicture {
    BitmapImage image;
    // Every pixel's iterations, as the plain loop counts them.
    long long iterations = 0;
    // The reference orbit's and the bilinear table's time and memory.
    double referenceSeconds = 0.0;
    double tableSeconds = 0.0;
    std::size_t referenceBytes = 0;
    std::size_t tableBytes = 0;
    double seconds = 0.0;
};

// Computes the centre's reference orbit, then the lines on the threads, each
// pixel by perturbation, coloured as the plain kernel colours dwells. Nothing
// when the centre is not a number or no thread could be started.
std::optional<DeepPicture> renderDeep(const DeepRequest &request);

// The decimal text as an extended float; nothing when it is not a number.
std::optional<ExtendedFloat> parseDecimal(const std::string &text);
// The distance between pixels of a picture so many pixels across a width
// given as decimal text, divided in full precision.
std::optional<ExtendedFloat> pixelStep(const std::string &width, int pixels);

} // namespace dwell
