// Fake cameras for the register library: a plug-in extension unit and an
// Aveo unit that keep bridge registers and record every request in one log,
// and filters that carry them, listed in the fake video-input category.
#pragma once

#include <atomic>
#include <chrono>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/CaptureDevices.h"
#include "plugin/PluginState.h"
#include "tests/fakes/FakePorts.h"

namespace kv::test {

// Requests as text, e.g. "LEN 2", "PUT 2 06 01", "GET 2 1", "SWITCH 0",
// "AVEO SET 01 06 00" (a block's trailing zeros dropped), shared by every
// fake of a test so that the order across cameras shows.
class RequestLog {
public:
    void Add(std::string line);
    std::vector<std::string> Lines() const;
    void Clear();

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
};

// The bridge behind a unit: 256 registers and what the I2C bus answers.
struct FakeBridge {
    std::map<std::uint16_t, std::uint8_t> registers;
    std::vector<std::uint8_t> i2cReply;  // bytes an I2C read returns
    bool i2cAcknowledged = true;         // false: register 5 bit 4 after a plug-in transfer
    std::uint8_t Read(std::uint16_t address) const;
};

// The zelunit plug-in as the library sees it, with one bridge.
class FakePluginUnit : public platform::ExtensionUnit {
public:
    FakePluginUnit(RequestLog& log, FakeBridge& bridge) : m_log(log), m_bridge(bridge) {}

    bool ready = true;
    std::optional<std::uint32_t> failPut;  // this property's puts answer E_FAIL
    std::atomic<int> putDelayMs{0};        // changed while a late worker may read it
    std::atomic<int> endCalls{0};

    platform::HResult get_InfoSize(std::uint32_t* size) override;
    platform::HResult get_Info(std::uint32_t size, std::uint8_t* info) override;
    platform::HResult get_PropertySize(std::uint32_t id, std::uint32_t* size) override;
    platform::HResult get_Property(std::uint32_t id, std::uint32_t size, std::uint8_t* value) override;
    platform::HResult put_Property(std::uint32_t id, std::uint32_t size, std::uint8_t* value) override;
    platform::HResult is_Ready(std::uint32_t* isReady) override;
    platform::HResult SwitchHandle(std::uint32_t deviceNumber) override;
    platform::HResult end() override;

private:
    RequestLog& m_log;
    FakeBridge& m_bridge;
    std::uint8_t m_readAddress = 0;
    std::uint8_t m_readLength = 0;
};

// One filter's IKsControl: answers the support tests of the sets its nodes
// carry, and the Aveo unit's 32-byte blocks.
class FakeFilterControl : public platform::KsControl {
public:
    FakeFilterControl(RequestLog& log, FakeBridge& bridge) : m_log(log), m_bridge(bridge) {}

    std::map<std::uint32_t, platform::Guid> nodeSets;  // node -> the set it answers
    std::atomic<int> aveoDelayMs{0};
    bool aveoFails = false;

    platform::HResult KsProperty(const void* property, std::uint32_t propertyLength, void* data,
                                 std::uint32_t dataLength, std::uint32_t* bytesReturned) override;

private:
    RequestLog& m_log;
    FakeBridge& m_bridge;
    std::array<std::uint8_t, 32> m_selected{};
};

// The filter of a capture device of the category: its nodes, its control
// and the plug-in objects of its nodes.
struct FakeCamera {
    std::vector<platform::Guid> nodeTypes;
    std::shared_ptr<FakeFilterControl> control;
    std::map<std::uint32_t, std::shared_ptr<FakePluginUnit>> plugins;  // node -> its plug-in object
    // Set: each node instance is the plug-in's own object on this shared
    // state, as the kernel-streaming proxy makes it, over a filter control
    // that passes its requests to the node's unit fake.
    plugin::PluginState* pluginState = nullptr;
};

// The register library's world: fake ports with these cameras, and helpers
// that add cameras of either kind.
struct XuWorld {
    RequestLog log;
    FakePorts fake;
    platform::Ports& ports = fake.ports;
    // In the order added (stable references); the category lists them in
    // fake.captureDevices' order, each named "Camera".
    std::deque<FakeCamera> cameras;
    std::vector<std::uint32_t> nodeInstancesMade;
    std::vector<std::unique_ptr<FakeBridge>> bridges;

    XuWorld() { fake.environment.windows = false; }  // no installation check unless a test asks
    // A filter whose extension-unit node `node` carries the plug-in.
    FakeCamera& AddPluginCamera(const std::string& path, std::uint32_t node = 1);
    // A filter whose extension-unit node `node` answers the Aveo set.
    FakeCamera& AddAveoCamera(const std::string& path, std::uint32_t node = 2);
    FakeBridge& BridgeOf(std::size_t camera) { return *bridges.at(camera); }
    // The camera's node instances become the plug-in's own objects.
    void UsePluginObject(std::size_t camera) { cameras.at(camera).pluginState = &pluginState; }

    plugin::PluginState pluginState;

private:
    FakeCamera& AddCamera(const std::string& path, std::uint32_t node, const platform::Guid& set);
};

}  // namespace kv::test
