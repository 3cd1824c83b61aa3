#pragma once

#include "BitmapImage.h"
#include "Scene.h"

namespace dwell {

// A copy of the image with the scene its pass computes, for saving.
struct PassPicture {
    BitmapImage image;
    Scene scene;
    // Every line of the pass is stored.
    bool complete = false;
};

} // namespace dwell
