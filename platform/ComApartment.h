// COM apartment port: the start-up and shut-down of the calling thread's
// apartment, kept apart from what is created in it.
#pragma once

#include "platform/HResult.h"

namespace kv::platform {

class ComApartment {
public:
    virtual ~ComApartment() = default;
    virtual HResult Initialize() = 0;
    virtual void Uninitialize() = 0;
};

// A platform without apartments: start-up always succeeds and does nothing.
class NoComApartment : public ComApartment {
public:
    HResult Initialize() override { return kS_OK; }
    void Uninitialize() override {}
};

}  // namespace kv::platform
