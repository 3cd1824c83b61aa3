#pragma once

#include "CheckBoxSwitch.h"
#include "ComboBoxMenu.h"
#include "ScaledSlider.h"

#include <memory>

class QPushButton;

namespace dwell {

class ExplorerWidget;

// The window's controls as the explorer sees them.
struct ControlWidgets {
    QComboBox &threadMenu;
    QComboBox &dwellMenu;
    QCheckBox &randomizerSwitch;
    QCheckBox &originSwitch;
    QCheckBox &clearSwitch;
    QSlider &escapeRadiusSlider;
    QPushButton &startButton;
    QPushButton &resetButton;
    QPushButton &resetOriginButton;
    QPushButton &reportButton;
    QPushButton &zoomOutButton;
    QPushButton &backButton;
    QPushButton &saveButton;
};

// Connects the explorer's outlets to the controls, through adapters it owns,
// and the controls' signals to the explorer's actions. Kept apart from the
// form's code, which sees QApplication and so Xlib's Display.
class ExplorerControls {
public:
    // The slider moves in tenths of the escape radius.
    static constexpr int kEscapeRadiusDivisor = 10;

    ExplorerControls(ExplorerWidget &explorer, const ControlWidgets &controls);

    float escapeRadius() const { return m_escapeRadiusSlider.floatValue(); }

private:
    ComboBoxMenu m_threadMenu;
    ComboBoxMenu m_dwellMenu;
    CheckBoxSwitch m_randomizerSwitch;
    CheckBoxSwitch m_originSwitch;
    CheckBoxSwitch m_clearSwitch;
    ScaledSlider m_escapeRadiusSlider;
};

} // namespace dwell
