#pragma once

#include "Switch.h"

#include <QCheckBox>

namespace dwell {

class CheckBoxSwitch : public Switch {
public:
    explicit CheckBoxSwitch(const QCheckBox &box) : m_box(box) {}
    int state() const override { return m_box.isChecked() ? 1 : 0; }

private:
    const QCheckBox &m_box;
};

} // namespace dwell
