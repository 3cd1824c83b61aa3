#pragma once

namespace dwell {

// Whole render passes of the explorer at 1, 2 and all cores' worth of threads.
void registerRenderPassBenchmarks();

} // namespace dwell
