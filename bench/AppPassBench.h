#pragma once

namespace dwell {

// Passes and drawings of the real window on Qt's offscreen platform: the
// workers compete with the GUI thread's redisplays for the view's lock.
void registerAppPassBenchmarks();

} // namespace dwell
