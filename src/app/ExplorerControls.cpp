#include "ExplorerControls.h"

#include "ExplorerWidget.h"
#include "MyView.h"
#include "SaveImage.h"

#include <QPushButton>

namespace dwell {

ExplorerControls::ExplorerControls(ExplorerWidget &explorer, const ControlWidgets &controls)
    : m_threadMenu(controls.threadMenu), m_dwellMenu(controls.dwellMenu),
      m_randomizerSwitch(controls.randomizerSwitch), m_originSwitch(controls.originSwitch),
      m_clearSwitch(controls.clearSwitch),
      m_escapeRadiusSlider(controls.escapeRadiusSlider, kEscapeRadiusDivisor)
{
    MyView &view = explorer.view();
    view.connectOutlets({&m_threadMenu, &m_dwellMenu, &m_randomizerSwitch, &m_originSwitch,
                         &m_clearSwitch, &m_escapeRadiusSlider});

    // The explorer lives as long as the widget, which the connections'
    // context object ties them to.
    QObject::connect(&controls.threadMenu, &QComboBox::currentIndexChanged, &explorer,
                     [this, &view] { view.doThreadMenu(&m_threadMenu); });
    QObject::connect(&controls.dwellMenu, &QComboBox::currentIndexChanged, &explorer,
                     [this, &view] { view.doDwellMenu(&m_dwellMenu); });
    QPushButton *start = &controls.startButton;
    QObject::connect(start, &QPushButton::clicked, &explorer,
                     [start, &view] { view.startButton(start); });
    QPushButton *reset = &controls.resetButton;
    QObject::connect(reset, &QPushButton::clicked, &explorer,
                     [reset, &view] { view.resetButton(reset); });
    QPushButton *resetOrigin = &controls.resetOriginButton;
    QObject::connect(resetOrigin, &QPushButton::clicked, &explorer,
                     [resetOrigin, &view] { view.doResetOriginButton(resetOrigin); });
    QPushButton *report = &controls.reportButton;
    QObject::connect(report, &QPushButton::clicked, &explorer,
                     [report, &view] { view.doReportButton(report); });
    // Back is there only when there is somewhere to go back to.
    QPushButton *back = &controls.backButton;
    const auto updateBack = [back, &view] { back->setEnabled(view.canGoBack()); };
    updateBack();
    QObject::connect(&explorer, &ExplorerWidget::gestureEnded, back, updateBack);
    QObject::connect(reset, &QPushButton::clicked, back, updateBack);
    QObject::connect(&controls.zoomOutButton, &QPushButton::clicked, &explorer,
                     &ExplorerWidget::zoomOut);
    QObject::connect(back, &QPushButton::clicked, &explorer, &ExplorerWidget::back);
    QObject::connect(&controls.saveButton, &QPushButton::clicked, &explorer,
                     [&explorer, &view] { saveImage(explorer, view); });
}

} // namespace dwell
