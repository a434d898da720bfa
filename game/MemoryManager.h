#pragma once

#include "app/IObject.h"

// Created once at start-up; it has no operation beyond its destructor.
class IMemoryManager : public Sys::NonCopyable {
public:
    ~IMemoryManager() override = default;
};

class MemoryManager : public IMemoryManager {
public:
    ~MemoryManager() override = default;
};
