#pragma once
// A segmented progress bar painted on a canvas. (Being written.)

namespace farsend {

class CProgressBar {
public:
    CProgressBar() = default;
};

}  // namespace farsend
