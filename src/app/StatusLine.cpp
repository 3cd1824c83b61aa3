#include "StatusLine.h"

#include "StatusFigures.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>

#include <algorithm>

namespace dwell {

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
    m_pass->setText(tr("Pass %1").arg(status.sequence));
    m_progress->setRange(0, std::max(status.height, 1));
    m_progress->setValue(std::clamp(status.linesStored, 0, status.height));
    QString timing = StatusFigures::durationText(status.seconds);
    if (status.failed)
        timing = tr("no worker thread could be started");
    else if (status.referenceLimit > 0 && status.linesStored == 0)
        timing +=
            QString::fromUtf8(" \u00b7 ") + tr("reference orbit %1 of %2")
                                                .arg(QLocale().toString(status.referenceDone),
                                                     QLocale().toString(status.referenceLimit));
    else if (status.finished() && status.seconds > 0)
        timing += QString::fromUtf8(" \u00b7 ") +
                  StatusFigures::rateText(status.iterations, status.seconds);
    if (status.settingsPending())
        timing += QString::fromUtf8(" \u00b7 ") +
                  tr("dwell limit %1, escape bound %2 from the next start")
                      .arg(status.nextMaxDwell)
                      .arg(status.nextEscapeRadius, 0, 'f', 1);
    m_timing->setText(timing);
    m_window->setText(StatusFigures::windowText(status.scene, status.width, status.height));
}

} // namespace dwell
