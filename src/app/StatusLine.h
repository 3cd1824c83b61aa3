#pragma once

#include "PassStatus.h"

#include <QTimer>
#include <QWidget>

#include <functional>

class QLabel;
class QProgressBar;

namespace dwell {

// The line under the view: pass number, progress, timing and plane window,
// read from the explorer on a GUI timer so workers never wait on the display.
class StatusLine : public QWidget {
    Q_OBJECT

public:
    explicit StatusLine(QWidget *parent = nullptr);

    void watch(std::function<PassStatus()> source);
    // Reads the pass at once rather than on the next tick.
    void refresh();

private:
    std::function<PassStatus()> m_source;
    QTimer m_ticker;
    QLabel *m_pass;
    QProgressBar *m_progress;
    QLabel *m_timing;
    QLabel *m_window;
};

} // namespace dwell
