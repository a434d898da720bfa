#pragma once

#include "media/ISkeletonHierarchy.h"

namespace Korvo {

class SkeletonHierarchyMD5 : public ISkeletonHierarchy {
public:
    explicit SkeletonHierarchyMD5(std::vector<Joint> joints) { Joints = std::move(joints); }
    std::string GetTypeName() const override { return "Korvo::SkeletonHierarchyMD5"; }
};

} // namespace Korvo
