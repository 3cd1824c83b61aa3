#pragma once

namespace dwell {

// A check box; state 1 means on.
class Switch {
public:
    virtual ~Switch() = default;
    virtual int state() const = 0;
};

} // namespace dwell
