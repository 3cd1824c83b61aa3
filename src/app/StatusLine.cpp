#include "StatusLine.h"

#include "StatusFigures.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

#include <algorithm>

StatusLine::StatusLine(QWidget *parent)
    : QWidget(parent), m_pass(new QLabel(this)), m_progress(new QProgressBar(this)),
      m_timing(new QLabel(this)), m_window(new QLabel(this))
{
    m_pass->setObjectName("passLabel");
    m_progress->setObjectName("passProgress");
    m_timing->setObjectName("timingLabel");
    m_window->setObjectName("windowLabel");
    m_progress->setMaximumWidth(200);
    m_progress->setFormat(tr("%v / %m lines"));
    m_window->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long window text must not widen the window past the view.
    m_window->setMinimumWidth(0);
    m_window->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->addWidget(m_pass);
    layout->addWidget(m_progress);
    layout->addWidget(m_timing);
    layout->addWidget(m_window, 1);
    m_ticker.setInterval(200);
    connect(&m_ticker, &QTimer::timeout, this, &StatusLine::refresh);
}

void StatusLine::watch(std::function<PassStatus()> source)
{
    m_source = std::move(source);
    m_ticker.start();
    refresh();
}

void StatusLine::refresh()
{
    if (!m_source)
        return;
    const PassStatus status = m_source();
    const std::optional<double> seconds = passSeconds(status);
    m_pass->setText(tr("Pass %1").arg(status.sequence));
    m_progress->setRange(0, std::max(status.height, 1));
    m_progress->setValue(std::clamp(status.linesStored, 0, status.height));
    QString timing = seconds ? QString("%1 s").arg(*seconds, 0, 'f', 2) : tr("done");
    if (status.finished() && seconds)
        timing +=
            QString::fromUtf8(" \u00b7 ") + StatusFigures::rateText(status.iterations, *seconds);
    m_timing->setText(timing);
    m_window->setText(StatusFigures::windowText(status.window, status.width, status.height));
}

// The core does not timestamp passes: time from the tick that first sees a
// pass running, and stop at the tick that first sees it finished. A pass that
// ended between two ticks has no honest time to show.
std::optional<double> StatusLine::passSeconds(const PassStatus &status)
{
    if (status.sequence != m_sequence) {
        m_sequence = status.sequence;
        m_passClock.start();
        m_finishedSeconds.reset();
        m_seenRunning = !status.finished();
    }
    if (!m_seenRunning)
        return std::nullopt;
    if (status.finished() && !m_finishedSeconds)
        m_finishedSeconds = m_passClock.nsecsElapsed() * 1e-9;
    return m_finishedSeconds.value_or(m_passClock.nsecsElapsed() * 1e-9);
}
