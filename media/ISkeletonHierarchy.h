#pragma once

#include "app/KorvoIObject.h"

#include <string>
#include <vector>

namespace Korvo {

// The joints of a skeleton in file order; every joint comes after its parent.
class ISkeletonHierarchy : public IObject {
public:
    struct Joint {
        std::string Name;
        int Parent = -1;       // -1 for a root
        int Flags = 0;         // which of the six pose components are animated
        int StartIndex = 0;    // first animated value of the joint within a frame
    };

    const std::vector<Joint>& GetJoints() const { return Joints; }

protected:
    std::vector<Joint> Joints;
};

} // namespace Korvo
