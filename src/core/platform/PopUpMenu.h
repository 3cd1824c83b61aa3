#pragma once

#include <string>

class PopUpMenu {
public:
    virtual ~PopUpMenu() = default;
    virtual std::string titleOfSelectedItem() const = 0;
};
