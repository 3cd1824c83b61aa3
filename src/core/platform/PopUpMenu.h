#pragma once

#include <string>

namespace dwell {

class PopUpMenu {
public:
    virtual ~PopUpMenu() = default;
    virtual std::string titleOfSelectedItem() const = 0;
};

} // namespace dwell
