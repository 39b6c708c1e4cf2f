// Direct-USB port served from a simulated rig: the rig's devices that the
// USB library lists, and control transfers carried to their model.
#pragma once

#include "platform/DirectUsb.h"
#include "sim/host/SimContext.h"

namespace kv::sim::host {

class SimDirectUsb : public platform::DirectUsb {
public:
    explicit SimDirectUsb(SimContext& context) : m_context(context) {}
    // The rig's USB library is always there.
    bool LibraryLoads() override { return true; }
    std::unique_ptr<platform::UsbDeviceList> ListInit() override;

private:
    SimContext& m_context;
};

}  // namespace kv::sim::host
