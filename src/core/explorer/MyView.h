#pragma once

#include "AdaptiveMutex.h"
#include "BitmapImage.h"
#include "Coloring.h"
#include "ExactWindow.h"
#include "ExplorerOutlets.h"
#include "Geometry.h"
#include "PassPicture.h"
#include "PassStatus.h"
#include "PixelValues.h"
#include "PlaneWindow.h"
#include "Relaxed.h"
#include "Scene.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace dwell {

class DeepPass;
class Display;
class PopUpMenu;
class Slider;
class Switch;
class ThreadLauncher;
class Window;

// The explorer: view, application delegate, target of every control and body
// of the worker threads. Fields are public: they are the explorer's state
// record, and the platform glue and the tests read them by name.
class MyView {
public:
    static constexpr int kTableSize = 16384;
    // Neither side of the picture may exceed what the tables and line buffers hold.
    static constexpr float kMaxSide = float(kTableSize);
    // Selections narrower than this are a click that wobbled, not a zoom.
    static constexpr double kSmallestSelection = 12.0;

    MyView(Display &display, ThreadLauncher &threads);
    MyView(const MyView &) = delete;
    MyView &operator=(const MyView &) = delete;

    // Actions; sender is the control, or null when the view sends it itself.
    void doReportButton(const void *sender);
    void doThreadMenu(const PopUpMenu *sender);
    void doDwellMenu(const PopUpMenu *sender);
    void doResetOriginButton(const void *sender);
    void resetButton(const void *sender);
    void startButton(const void *sender);
    // Doubles the window about the view's centre, keeping the origin.
    void zoomOutButton(const void *sender);
    // Returns to the window before the last zoom or reset.
    void backButton(const void *sender);
    bool canGoBack() const { return !m_history.empty(); }
    // Returns to the window Back left, until a new gesture moves the view.
    void forwardButton(const void *sender);
    bool canGoForward() const { return !m_forward.empty(); }
    // Zooms by 2^(notches / 2) about location, which stays on the same plane
    // point; positive notches zoom in.
    void scrollWheel(NSPoint location, double notches);
    PassStatus passStatus();
    // What the view's fields describe now; hold workLock for a consistent reading.
    Scene scene() const;
    // A copy of the image and the scene of its pass; nothing before the first display.
    std::optional<PassPicture> picture();
    // Supersedes the pass in flight: its workers store nothing more and end.
    void cancelPass();
    // Colours the picture anew from each pixel's kept values, at once and
    // without a pass; lines still to come take the new colouring too.
    void setColoring(const Coloring &newColoring);
    Coloring currentColoring();
    // Moves the view to window; the next start renders it.
    void setPlaneWindow(const PlaneWindow &window);
    void setExactWindow(const ExactWindow &window);

    // Events, with points in the view's unflipped coordinates.
    void mouseDown(NSPoint location);
    void mouseDragged(NSPoint location);
    void mouseUp(NSPoint location);
    void keyDown();
    void keyUp();

    void drawRect(NSRect rect);
    void threadMain(int currentSequence);

    void applicationDidFinishLaunching();
    bool applicationShouldTerminateAfterLastWindowClosed() const { return true; }

    bool acceptsFirstMouse() const { return false; }
    bool acceptsFirstResponder() const { return true; }
    bool isOpaque() const { return true; }
    bool isFlipped() const { return false; }

    // Outlets, connected by whoever builds the window; not owned.
    void connectOutlets(const ExplorerOutlets &outlets);
    Window *window = nullptr;
    PopUpMenu *threadMenu = nullptr;
    PopUpMenu *dwellMenu = nullptr;
    Switch *randomizerSwitch = nullptr;
    Switch *originSwitch = nullptr;
    Slider *escapeRadiusSlider = nullptr;
    Switch *clearSwitch = nullptr;

    // Taken for every change of the picture, the pass and the plane window;
    // never held across the kernel or a call that takes it again.
    AdaptiveMutex workLock;

    // Guarded by workLock.
    std::unique_ptr<BitmapImage> myImage;
    // Per pixel, beside the image: the dwell and |z|^2 one step past its
    // escape, shared with the current pass's workers (and kept by those of
    // earlier passes until they end); per row, whether they describe what
    // the image shows.
    std::shared_ptr<PixelValues> pixelValues;
    std::vector<char> rowKept;
    Coloring coloring;
    int coloringGeneration = 0;
    std::uint8_t *bitmapData = nullptr;
    NSRect frame{};
    int height = 0;
    int comp_sequence = 0;
    int lastLine = 0;
    int total_dwells = 0;
    int acc_dwells = 0;
    // Lines stored in the current pass, and their dwells as a 64-bit sum.
    int lines_stored = 0;
    long long pass_iterations = 0;
    // The scene the current pass computes, and whether it could start no worker.
    Scene passScene;
    bool passFailed = false;
    // When the current pass started, and when its last line was stored.
    std::chrono::steady_clock::time_point passStarted = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point passEnded = passStarted;
    // Relaxed as well, for readings that need no consistency with the rest.
    // Below what doubles resolve they are the nearest doubles of exactWindow.
    Relaxed<double> viewX;
    Relaxed<double> viewY;
    Relaxed<double> viewStep;
    // The plane window in full precision, and the deep engine's share of the
    // current pass (null when the plain kernel computes it).
    ExactWindow exactWindow;
    std::shared_ptr<DeepPass> deepPass;

    // Written by the main thread, read by workers without the lock for each line.
    Relaxed<int> max_dwells;
    Relaxed<double> originX;
    Relaxed<double> originY;
    Relaxed<double> escapeRadius;
    std::array<Relaxed<int>, kTableSize> lineTable;

    // Main thread only.
    int num_threads = 0;
    std::array<int, kTableSize> drawnTable{};
    NSPoint mouseDownPoint{};
    NSPoint mouseDragPoint{};
    NSRect mouseDragRect{};
    bool isSelecting = false;
    bool isDragging = false;

private:
    struct WorkerSnapshot;
    struct ComputedLine;

    NSRect usableBounds() const;
    bool resizeIfNeeded(NSRect bounds);
    void createImage(NSRect bounds);
    void markDrawnRows(NSRect rect);
    void drawSelection();
    void prepareSchedule();
    bool passSuperseded(int sequence);
    WorkerSnapshot takeSnapshot(int sequence);
    // Computes row r's dwells and norms into the pass's values.
    ComputedLine computeLine(const WorkerSnapshot &snapshot, int r);
    bool storeLine(const WorkerSnapshot &snapshot, int myLine, const ComputedLine &line);
    void noteLineLimit(int limit);
    void prepareValues();
    void keepLine(const ComputedLine &line, int row, int width);
    void recolorRow(int row, int width);
    void noteFailedStart(int sequence);
    void zoomOrMoveOrigin(double newX, double newY);
    PlaneWindow planeWindow() const { return {viewX, viewY, viewStep}; }
    // Call with workLock held, before the window changes.
    void rememberWindow();
    // Call with workLock held, after a gesture moved the doubles' window:
    // where doubles resolve the view, they stand and the exact window takes
    // them; below, the exact window moves from where it was to the corner
    // before + step * (across, -down), its step times factor, and the doubles
    // take its nearest values.
    void followWindow(const ExactWindow &before, double across, double down, double factor,
                      NSSize size);
    void useExactWindow(const ExactWindow &window);
    bool deepEngineNeeded() const;
    void computeDeepLine(const WorkerSnapshot &snapshot, int r, int limit, int *dwells,
                         float *norms);

    struct WindowRecord {
        PlaneWindow doubles;
        ExactWindow exact;
    };
    void pushWindow(std::vector<WindowRecord> &stack);
    // Back (from the history to the way forward) or Forward (the other way).
    void retrace(std::vector<WindowRecord> &from, std::vector<WindowRecord> &to,
                 const void *sender);
    void restoreWindow(const WindowRecord &record);

    static constexpr std::size_t kHistoryDepth = 100;
    std::vector<WindowRecord> m_history;
    std::vector<WindowRecord> m_forward;

    Display &m_display;
    ThreadLauncher &m_threads;
};

} // namespace dwell
