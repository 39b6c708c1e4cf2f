// The plug-in object: node requests as the driver receives them, the
// driver's size answers, the shared control list and its refusals.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "plugin/ExtensionUnitCore.h"
#include "wire/KsProperty.h"
#include "wire/PropertySets.h"

namespace kv::plugin {
namespace {

using platform::HResult;
using platform::kE_INVALIDARG;
using platform::kE_NOINTERFACE;
using platform::kE_POINTER;
using platform::kS_OK;

struct Call {
    std::vector<std::uint8_t> property;
    const void* data;
    std::uint32_t dataLength;
};

class FakeControl : public platform::KsControl {
public:
    HResult KsProperty(const void* property, std::uint32_t propertyLength, void* data, std::uint32_t dataLength,
                       std::uint32_t* bytesReturned) override {
        if (during) during();
        const auto* bytes = static_cast<const std::uint8_t*>(property);
        calls.push_back({std::vector<std::uint8_t>(bytes, bytes + propertyLength), data, dataLength});
        if (bytesReturned != nullptr) *bytesReturned = returned;
        return answer;
    }
    std::vector<Call> calls;
    std::function<void()> during;  // what another thread does while the request is on the wire
    HResult answer = kS_OK;
    std::uint32_t returned = 0;
};

std::vector<std::uint8_t> NodeProperty(std::uint32_t id, std::uint32_t flags, std::uint32_t node) {
    const auto block = wire::NodeProperty(wire::kPluginXuSet, id, flags, node);
    return std::vector<std::uint8_t>(block.begin(), block.end());
}

class ExtensionUnitCoreTest : public ::testing::Test {
protected:
    std::shared_ptr<FakeControl> Add() {
        auto control = std::make_shared<FakeControl>();
        EXPECT_EQ(unit.put_KsControl(control), kS_OK);
        return control;
    }
    std::uint32_t Ready() {
        std::uint32_t ready = 99;
        EXPECT_EQ(unit.is_Ready(&ready), kS_OK);
        return ready;
    }

    PluginState state;
    ExtensionUnitCore unit{state};
};

TEST_F(ExtensionUnitCoreTest, EachMethodIsOneNodeRequestOnTheUnitsSet) {
    unit.put_NodeId(3);
    const auto control = Add();
    std::uint8_t value[4] = {1, 2, 3, 4};
    EXPECT_EQ(unit.get_Property(2, 4, value), kS_OK);
    EXPECT_EQ(unit.put_Property(5, 4, value), kS_OK);
    EXPECT_EQ(unit.get_Info(4, value), kS_OK);
    ASSERT_EQ(control->calls.size(), 3u);
    EXPECT_EQ(control->calls[0].property, NodeProperty(2, 0x10000001, 3));
    EXPECT_EQ(control->calls[1].property, NodeProperty(5, 0x10000002, 3));
    EXPECT_EQ(control->calls[2].property, NodeProperty(0, 0x10000001, 3));
    for (const Call& call : control->calls) {
        EXPECT_EQ(call.data, value);
        EXPECT_EQ(call.dataLength, 4u);
    }
    // The driver's answer comes back unchanged.
    control->answer = static_cast<HResult>(0x8007001Fu);
    EXPECT_EQ(unit.put_Property(1, 1, value), control->answer);
}

TEST_F(ExtensionUnitCoreTest, SizesComeFromTheDriversMoreDataReply) {
    unit.put_NodeId(2);
    const auto control = Add();
    control->answer = wire::kHrMoreData;
    control->returned = 7;
    std::uint32_t size = 0;
    EXPECT_EQ(unit.get_PropertySize(5, &size), kS_OK);
    EXPECT_EQ(size, 7u);
    control->returned = 16;
    EXPECT_EQ(unit.get_InfoSize(&size), kS_OK);
    EXPECT_EQ(size, 16u);
    ASSERT_EQ(control->calls.size(), 2u);
    EXPECT_EQ(control->calls[0].property, NodeProperty(5, 0x10000001, 2));
    EXPECT_EQ(control->calls[0].data, nullptr);
    EXPECT_EQ(control->calls[0].dataLength, 0u);
    EXPECT_EQ(control->calls[1].property, NodeProperty(0, 0x10000001, 2));

    // A driver that answers the zero-length get leaves the size alone; any
    // other answer is handed back, the size again untouched.
    control->answer = kS_OK;
    size = 42;
    EXPECT_EQ(unit.get_PropertySize(5, &size), kS_OK);
    EXPECT_EQ(size, 42u);
    control->answer = static_cast<HResult>(0x80070490u);
    EXPECT_EQ(unit.get_InfoSize(&size), control->answer);
    EXPECT_EQ(size, 42u);
}

TEST_F(ExtensionUnitCoreTest, ReadyOnlyWithACurrentControl) {
    EXPECT_EQ(Ready(), 0u);
    Add();
    EXPECT_EQ(Ready(), 1u);
    EXPECT_EQ(unit.end(), kS_OK);
    EXPECT_EQ(Ready(), 0u);
    EXPECT_EQ(state.count(), 0u);
}

TEST_F(ExtensionUnitCoreTest, ControlsAreNumberedInOrderAndTheLastIsCurrent) {
    const auto first = Add();
    const auto second = Add();
    std::uint8_t byte = 1;
    unit.put_Property(1, 1, &byte);
    EXPECT_EQ(second->calls.size(), 1u);
    EXPECT_EQ(unit.SwitchHandle(0), kS_OK);
    unit.put_Property(1, 1, &byte);
    EXPECT_EQ(first->calls.size(), 1u);
    EXPECT_EQ(unit.SwitchHandle(1), kS_OK);
    unit.put_Property(1, 1, &byte);
    EXPECT_EQ(second->calls.size(), 2u);
}

TEST_F(ExtensionUnitCoreTest, ObjectsShareOneStateAndTheLastNodeIdWins) {
    ExtensionUnitCore other{state};
    other.put_NodeId(4);
    const auto control = std::make_shared<FakeControl>();
    ASSERT_EQ(other.put_KsControl(control), kS_OK);
    unit.put_NodeId(6);
    std::uint8_t byte = 1;
    EXPECT_EQ(unit.put_Property(1, 1, &byte), kS_OK);
    ASSERT_EQ(control->calls.size(), 1u);
    EXPECT_EQ(control->calls[0].property, NodeProperty(1, 0x10000002, 6));
    other.end();
    EXPECT_EQ(Ready(), 0u);
}

TEST_F(ExtensionUnitCoreTest, EachEntryHoldsItsControlUntilEnd) {
    std::weak_ptr<FakeControl> first = Add();
    std::weak_ptr<FakeControl> second = Add();
    ASSERT_EQ(unit.SwitchHandle(0), kS_OK);
    EXPECT_FALSE(second.expired());
    unit.end();
    EXPECT_TRUE(first.expired());
    EXPECT_TRUE(second.expired());

    // An end while a request is on the wire (a library closing while a late
    // worker's transfer hangs): the request finishes on its control, which
    // goes with the request (the address sanitizer watches).
    auto busy = std::make_shared<FakeControl>();
    const std::weak_ptr<FakeControl> watched = busy;
    busy->during = [&] { EXPECT_EQ(unit.end(), kS_OK); };
    ASSERT_EQ(unit.put_KsControl(std::move(busy)), kS_OK);
    std::uint8_t byte = 1;
    EXPECT_EQ(unit.put_Property(1, 1, &byte), kS_OK);
    EXPECT_TRUE(watched.expired());
    EXPECT_EQ(Ready(), 0u);
}

TEST_F(ExtensionUnitCoreTest, AFullListRefusesAndKeepsItsCurrentControl) {
    std::shared_ptr<FakeControl> last;
    for (std::size_t i = 0; i < PluginState::kMaxControls; ++i) last = Add();
    auto extra = std::make_shared<FakeControl>();
    EXPECT_EQ(unit.put_KsControl(extra), kControlListFull);
    EXPECT_EQ(unit.put_KsControl(nullptr), kControlListFull);
    EXPECT_EQ(state.count(), PluginState::kMaxControls);
    std::uint8_t byte = 1;
    unit.put_Property(1, 1, &byte);
    EXPECT_EQ(last->calls.size(), 1u);
    EXPECT_TRUE(extra->calls.empty());
    EXPECT_EQ(unit.SwitchHandle(23), kS_OK);
}

TEST_F(ExtensionUnitCoreTest, SwitchHandleOutsideTheListRefusesAndKeepsTheCurrentControl) {
    EXPECT_EQ(unit.SwitchHandle(0), kE_INVALIDARG);
    Add();
    const auto second = Add();
    EXPECT_EQ(unit.SwitchHandle(2), kE_INVALIDARG);
    EXPECT_EQ(unit.SwitchHandle(0xFFFFFFFFu), kE_INVALIDARG);
    std::uint8_t byte = 1;
    unit.put_Property(1, 1, &byte);
    EXPECT_EQ(second->calls.size(), 1u);
    unit.end();
    EXPECT_EQ(unit.SwitchHandle(0), kE_INVALIDARG);
}

TEST_F(ExtensionUnitCoreTest, WithoutACurrentControlPropertyMethodsRefuse) {
    std::uint8_t data[4] = {};
    std::uint32_t size = 5;
    EXPECT_EQ(unit.get_InfoSize(&size), kNotReady);
    EXPECT_EQ(unit.get_Info(4, data), kNotReady);
    EXPECT_EQ(unit.get_PropertySize(2, &size), kNotReady);
    EXPECT_EQ(unit.get_Property(2, 4, data), kNotReady);
    EXPECT_EQ(unit.put_Property(2, 4, data), kNotReady);
    EXPECT_EQ(size, 5u);

    // A filter that did not answer the control query leaves an empty entry,
    // current and numbered like any other.
    const auto good = Add();
    EXPECT_EQ(unit.put_KsControl(nullptr), kE_NOINTERFACE);
    EXPECT_EQ(state.count(), 2u);
    EXPECT_EQ(Ready(), 0u);
    EXPECT_EQ(unit.put_Property(2, 4, data), kNotReady);
    EXPECT_EQ(unit.SwitchHandle(0), kS_OK);
    EXPECT_EQ(Ready(), 1u);
    EXPECT_EQ(unit.SwitchHandle(1), kS_OK);
    EXPECT_EQ(Ready(), 0u);
    EXPECT_TRUE(good->calls.empty());
}

TEST_F(ExtensionUnitCoreTest, NullPointersAreRefusedBeforeAnythingIsSent) {
    const auto control = Add();
    EXPECT_EQ(unit.get_InfoSize(nullptr), kE_POINTER);
    EXPECT_EQ(unit.get_PropertySize(2, nullptr), kE_POINTER);
    EXPECT_EQ(unit.is_Ready(nullptr), kE_POINTER);
    EXPECT_EQ(unit.get_Info(4, nullptr), kE_POINTER);
    EXPECT_EQ(unit.get_Property(2, 4, nullptr), kE_POINTER);
    EXPECT_EQ(unit.put_Property(2, 4, nullptr), kE_POINTER);
    EXPECT_TRUE(control->calls.empty());
    // No data at all is a request of its own (the size query's form).
    EXPECT_EQ(unit.get_Property(2, 0, nullptr), kS_OK);
    EXPECT_EQ(control->calls.size(), 1u);
}

}  // namespace
}  // namespace kv::plugin
