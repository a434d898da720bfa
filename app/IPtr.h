#pragma once

#include "app/IObject.h"

namespace Sys {

template <class T, class Counter>
class IPtr : public IObject {
public:
    ~IPtr() override = default;

    Counter counter;
};

} // namespace Sys
