// Fake capture filters: a bridge chip behind IKsControl that records every
// request, a recording IKsPropertySet and IAMVideoProcAmp/IAMCameraControl.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/CaptureDevices.h"

namespace kv::test {

// Answers the extension-unit requests like the bridge: a set with byte 3 of
// 0x00 writes a register, with 0xFF latches the address that the next get
// returns in byte 2. Reads answer from `statusReads` (register 0x10D0, while
// any are queued), then from `readOnly` (what the chip reports whatever was
// written), then from the register file.
class BridgeKsControl : public platform::KsControl {
public:
    struct Request {
        std::array<std::uint8_t, 32> property{};
        std::vector<std::uint8_t> data;  // as sent (a get: as returned)
    };
    std::vector<Request> requests;
    std::map<int, std::uint8_t> registers;
    std::map<int, std::uint8_t> readOnly;
    std::deque<std::uint8_t> statusReads;
    platform::HResult failWith = platform::kS_OK;

    platform::HResult KsProperty(const void* property, std::uint32_t propertyLength, void* data,
                                 std::uint32_t dataLength, std::uint32_t* bytesReturned) override;

    // The (address, value) pairs of the register writes, in order.
    std::vector<std::pair<int, int>> Writes() const;
    // The addresses of the register reads (latches), in order.
    std::vector<int> Reads() const;

private:
    int m_latched = -1;
};

class RecordingPropertySet : public platform::KsPropertySet {
public:
    struct Call {
        platform::Guid set;
        std::uint32_t id = 0;
        std::vector<std::uint8_t> instance;
        std::vector<std::uint8_t> data;
    };
    std::vector<Call> calls;
    platform::HResult Set(const platform::Guid& set, std::uint32_t id, const void* instanceData,
                          std::uint32_t instanceLength, const void* propertyData, std::uint32_t dataLength) override;
};

// Ranges per property; a property without a range fails GetRange.
class FakeRangedProperties : public platform::RangedProperties {
public:
    struct Range {
        std::int32_t minimum, maximum, step, defaultValue, flags, current;
    };
    std::map<std::int32_t, Range> ranges;
    std::vector<std::array<std::int32_t, 3>> sets;  // property, value, flags

    platform::HResult GetRange(std::int32_t property, std::int32_t& minimum, std::int32_t& maximum, std::int32_t& step,
                               std::int32_t& defaultValue, std::int32_t& flags) override;
    platform::HResult Get(std::int32_t property, std::int32_t& value, std::int32_t& flags) override;
    platform::HResult Set(std::int32_t property, std::int32_t value, std::int32_t flags) override;
};

// A filter that exposes whichever interfaces are set.
class FakeFilter : public platform::Filter {
public:
    std::shared_ptr<BridgeKsControl> ksControl = std::make_shared<BridgeKsControl>();
    std::shared_ptr<RecordingPropertySet> propertySet = std::make_shared<RecordingPropertySet>();
    std::shared_ptr<FakeRangedProperties> procAmp;
    std::shared_ptr<FakeRangedProperties> cameraControl;
    std::shared_ptr<platform::VideoControl> videoControl;
    std::shared_ptr<platform::QualProp> qualProp;

    platform::HResult QueryKsControl(std::shared_ptr<platform::KsControl>& control) override;
    platform::HResult QueryKsPropertySet(std::shared_ptr<platform::KsPropertySet>& set) override;
    platform::HResult QueryKsTopologyInfo(std::shared_ptr<platform::KsTopologyInfo>& topology) override;
    platform::HResult QueryVideoProcAmp(std::shared_ptr<platform::RangedProperties>& procAmp) override;
    platform::HResult QueryCameraControl(std::shared_ptr<platform::RangedProperties>& cameraControl) override;
    platform::HResult QueryVideoControl(std::shared_ptr<platform::VideoControl>& control) override {
        control = videoControl;
        return control ? platform::kS_OK : platform::kE_NOINTERFACE;
    }
    std::vector<std::pair<void*, std::string>> propertyFrames;  // parent, title
    platform::HResult ShowPropertyPages(void* parent, const std::string& title) override {
        propertyFrames.emplace_back(parent, title);
        return platform::kS_OK;
    }
    platform::HResult QueryQualProp(std::shared_ptr<platform::QualProp>& prop) override {
        prop = qualProp;
        return prop ? platform::kS_OK : platform::kE_NOINTERFACE;
    }
};

}  // namespace kv::test
