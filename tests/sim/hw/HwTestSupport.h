// Shared helpers of the hardware-model tests: a camera under test and the
// request blocks its callers send.
#pragma once

#include <cstdint>
#include <vector>

#include "sim/hw/Camera.h"
#include "wire/KsProperty.h"

namespace kv::sim::test {

using ByteVector = std::vector<std::uint8_t>;

// KSP_NODE as the callers build it (32 bytes, reserved word 0).
inline ByteVector NodeProperty(const platform::Guid& set, std::uint32_t id, std::uint32_t flags, std::uint32_t node) {
    const auto block = wire::NodeProperty(set, id, flags, node);
    return ByteVector(block.begin(), block.end());
}

constexpr std::uint32_t kGetTopology = wire::kNodeGet;
constexpr std::uint32_t kSetTopology = wire::kNodeSet;
constexpr std::uint32_t kSupportTopology = wire::kNodeSetSupport;

// A camera with its config and state in one place; requests are recorded.
struct TestCamera {
    CameraConfig config;
    CameraState state;
    std::vector<RequestRecord> records;

    Camera camera() { return Camera(config, state, &records); }

    Answer Ks(const platform::Guid& set, std::uint32_t id, std::uint32_t flags, std::uint32_t node, ByteVector& data) {
        return camera().KsProperty(NodeProperty(set, id, flags, node), data);
    }

    void AddDevice(std::uint8_t address) { config.i2cDevices[address] = *DefaultI2cDevice(address); }
};

}  // namespace kv::sim::test
