// Capture-devices port served from a simulated rig.
#include "sim/host/SimCaptureDevices.h"

#include "sim/host/SimPortFilter.h"

namespace kv::sim::host {

namespace {

using platform::HResult;
using platform::kClassNotRegistered;
using platform::kS_FALSE;
using platform::kS_OK;

class SimPropertyBag : public platform::PropertyBag {
public:
    explicit SimPropertyBag(const DeviceListing& listing) : m_listing(listing) {}
    HResult Read(const std::string& name, std::string& value) override {
        const std::optional<std::string>* property = name == "DevicePath"     ? &m_listing.devicePath
                                                     : name == "FriendlyName" ? &m_listing.friendlyName
                                                                              : nullptr;
        if (!property || !property->has_value()) return kHrNoSuchValue;
        value = **property;
        return kS_OK;
    }

private:
    const DeviceListing& m_listing;
};

class SimMoniker : public platform::Moniker {
public:
    SimMoniker(SimContext& context, std::size_t device) : m_context(context), m_device(device) {}
    HResult BindToStorage(std::unique_ptr<platform::PropertyBag>& bag) override {
        bag = std::make_unique<SimPropertyBag>(m_context.rig().Device(m_device).listing);
        return kS_OK;
    }
    HResult BindToObject(std::shared_ptr<platform::Filter>& filter) override {
        if (m_context.rig().Device(m_device).listing.bindFails) return kHrBindFails;
        filter = MakeSimPortFilter(m_context, m_device);
        m_context.NoteBound(m_device);
        return kS_OK;
    }

private:
    SimContext& m_context;
    std::size_t m_device;
};

class SimMonikers : public platform::MonikerEnumerator {
public:
    explicit SimMonikers(SimContext& context) : m_context(context) {}
    HResult Reset() override {
        m_next = 0;
        return kS_OK;
    }
    HResult Next(std::unique_ptr<platform::Moniker>& moniker) override {
        if (m_next >= m_context.rig().DeviceCount()) return kS_FALSE;
        moniker = std::make_unique<SimMoniker>(m_context, m_next++);
        return kS_OK;
    }

private:
    SimContext& m_context;
    std::size_t m_next = 0;
};

class SimDeviceEnumerator : public platform::DeviceEnumerator {
public:
    explicit SimDeviceEnumerator(SimContext& context) : m_context(context) {}
    HResult CreateVideoInputEnumerator(std::unique_ptr<platform::MonikerEnumerator>& enumerator) override {
        // The platform answers S_FALSE, and no enumerator, for an empty category.
        if (m_context.rig().description().enumerator == EnumeratorMode::EmptyCategory ||
            m_context.rig().DeviceCount() == 0) {
            return kS_FALSE;
        }
        // Enumeration opens the rig, so that no transfer pays its one-time work.
        m_context.session().Prepare();
        enumerator = std::make_unique<SimMonikers>(m_context);
        return kS_OK;
    }

private:
    SimContext& m_context;
};

}  // namespace

HResult SimCaptureDevices::CreateSystemDeviceEnumerator(std::unique_ptr<platform::DeviceEnumerator>& enumerator) {
    if (m_context.rig().description().enumerator == EnumeratorMode::CreateFails) return kClassNotRegistered;
    enumerator = std::make_unique<SimDeviceEnumerator>(m_context);
    return kS_OK;
}

}  // namespace kv::sim::host
