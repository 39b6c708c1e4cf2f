// Property requests on a camera's extension-unit nodes, carried out with the
// video driver's extension-unit query on the capture node: a set is a
// SET_CUR, a get a GET_CUR of the length GET_LEN gives, and the driver's
// errors come back as the results the platform's proxy gives.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/CaptureDevices.h"
#include "linux_uvc/LinuxKernel.h"
#include "linux_uvc/UvcDescriptors.h"

namespace kv::platform::linux_uvc {

// The topology the adapters show: node 0 the camera terminal, then one
// device-specific node per extension unit, in descriptor order.
constexpr std::uint32_t kFirstUnitNode = 1;

// The extension units of one VideoControl interface, each unit id once.
std::vector<ExtensionUnitDescriptor> UnitsOfInterface(std::span<const std::uint8_t> descriptors,
                                                      std::uint8_t interfaceNumber);

// ENOENT no such control, ENOBUFS a wrong size, EIO/EPIPE a stalled
// request, EBADRQC a query the control does not allow; anything else fails.
HResult ResultOfErrno(int error);

class UvcKsControl : public KsControl {
public:
    UvcKsControl(std::shared_ptr<OpenNode> node, std::vector<ExtensionUnitDescriptor> units)
        : m_node(std::move(node)), m_units(std::move(units)) {}
    HResult KsProperty(const void* property, std::uint32_t propertyLength, void* data, std::uint32_t dataLength,
                       std::uint32_t* bytesReturned) override;

private:
    HResult Query(std::uint8_t unit, std::uint32_t selector, std::uint8_t code, std::uint16_t size, std::uint8_t* data);
    HResult Get(std::uint8_t unit, std::uint32_t selector, std::uint8_t* data, std::uint32_t dataLength,
                std::uint32_t& returned);

    std::shared_ptr<OpenNode> m_node;
    std::vector<ExtensionUnitDescriptor> m_units;
};

}  // namespace kv::platform::linux_uvc
