#pragma once

namespace dwell {

// A deep picture for the benchmark around a minibrot. Near the Misiurewicz
// point i, at a distance of 3e-k, sit minibrots about (3e-k)^2 wide: the
// atom domain of the guess i + 3e-k (1 + i) gives a period, Newton's method
// the nucleus of that period, and the picture is four minibrot sizes wide.
struct DeepScene {
    const char *name;
    int guessExponent; // k
    int maxDwell;
    int pixels; // across; three quarters as many lines
};

inline constexpr DeepScene kDeepScenes[] = {
    {"minibrot-1e-46", 26, 1000000, 64},
    {"minibrot-1e-299", 151, 100000, 64},
    {"minibrot-1e-997", 501, 20000, 64},
};

} // namespace dwell
