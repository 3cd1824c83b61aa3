#pragma once

#include "PopUpMenu.h"

#include <QComboBox>

namespace dwell {

class ComboBoxMenu : public PopUpMenu {
public:
    explicit ComboBoxMenu(const QComboBox &box) : m_box(box) {}
    std::string titleOfSelectedItem() const override { return m_box.currentText().toStdString(); }

private:
    const QComboBox &m_box;
};

} // namespace dwell
