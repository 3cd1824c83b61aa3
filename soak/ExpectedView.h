#pragma once

#include "ExplorerModel.h"
#include "KernelColors.h"
#include "Screenshot.h"

#include <string>
#include <vector>

namespace dwell {

// What the view shows once the model's last pass is done: every line as the
// kernel computes it at one of the dwell limits the pass may have used.
class ExpectedView {
public:
    explicit ExpectedView(const ExplorerModel &model);

    // The share of the view's pixels that the top-left of the shot shows,
    // each row counted against the picture it matches best; 0 when the shot
    // is smaller than the view.
    double shareShown(const Screenshot &shot) const;
    // Where the first row that no picture explains differs from the picture
    // at the pass's first limit.
    std::string firstDifference(const Screenshot &shot) const;

private:
    int matchingInRow(const Screenshot &shot, const Picture &picture, int y) const;
    bool fits(const Screenshot &shot) const;

    int m_width;
    int m_height;
    // One per dwell limit, the pass's first limit first.
    std::vector<Picture> m_pictures;
};

} // namespace dwell
