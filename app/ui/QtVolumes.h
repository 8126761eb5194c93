#pragma once
// The machine's volumes as the toolkit reports them.

#include "platform/Volumes.h"

namespace farsend {

class QtVolumes final : public IVolumes {
public:
    std::vector<Volume> volumes() override;
};

}  // namespace farsend
