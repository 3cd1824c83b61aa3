#pragma once

namespace dwell {

// Loads the window, launches the explorer and runs the event loop. Ends the
// process when the window closes; the result is that exit status.
int dwellApplicationMain(int &argc, char **argv);

} // namespace dwell
