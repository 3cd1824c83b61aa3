#pragma once

namespace dwell {

// Each kernel path this CPU runs, on each scene, one thread.
void registerKernelBenchmarks();

} // namespace dwell
