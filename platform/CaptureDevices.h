// Capture-devices port: the system device enumerator over the video-input
// category, shaped after the platform's COM calls so that the core reads like
// the sequence of calls it makes. The interfaces of a bound device live here
// too; the apartment, the plug-in class and the viewer's graphs are ports of
// their own (ComApartment.h, ExtensionUnitFactory.h, MediaGraph.h).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Guid.h"
#include "platform/HResult.h"

namespace kv::platform {

// A device's property bag ("DevicePath", "FriendlyName", ...).
class PropertyBag {
public:
    virtual ~PropertyBag() = default;
    // Reads a string property; anything but kS_OK leaves value unspecified.
    virtual HResult Read(const std::string& name, std::string& value) = 0;
};

// IKsControl: kernel-streaming property requests. property is the KSPROPERTY
// or KSP_NODE block as it goes to the driver; data is the property data
// (input for a set, output for a get).
class KsControl {
public:
    virtual ~KsControl() = default;
    virtual HResult KsProperty(const void* property, std::uint32_t propertyLength, void* data, std::uint32_t dataLength,
                               std::uint32_t* bytesReturned) = 0;
};

// IKsPropertySet.
class KsPropertySet {
public:
    virtual ~KsPropertySet() = default;
    virtual HResult Set(const Guid& set, std::uint32_t id, const void* instanceData, std::uint32_t instanceLength,
                        const void* propertyData, std::uint32_t dataLength) = 0;
};

// IExtensionUnit of the extension-unit node plug-in (zelunit): each property
// method is one property request on the extension-unit node; the plug-in
// serves every camera of the process, selected with SwitchHandle.
class ExtensionUnit {
public:
    virtual ~ExtensionUnit() = default;
    virtual HResult get_InfoSize(std::uint32_t* size) = 0;
    virtual HResult get_Info(std::uint32_t size, std::uint8_t* info) = 0;
    virtual HResult get_PropertySize(std::uint32_t id, std::uint32_t* size) = 0;
    virtual HResult get_Property(std::uint32_t id, std::uint32_t size, std::uint8_t* value) = 0;
    virtual HResult put_Property(std::uint32_t id, std::uint32_t size, std::uint8_t* value) = 0;
    virtual HResult is_Ready(std::uint32_t* ready) = 0;
    virtual HResult SwitchHandle(std::uint32_t deviceNumber) = 0;
    virtual HResult end() = 0;
};

// A node instance, as IKsTopologyInfo::CreateNodeInstance gives it: the node
// plug-in the platform created for the node.
class NodeInstance {
public:
    virtual ~NodeInstance() = default;
    virtual HResult QueryExtensionUnit(std::shared_ptr<ExtensionUnit>& unit) = 0;
};

// IKsTopologyInfo: the filter's nodes, their types, and node instances.
class KsTopologyInfo {
public:
    virtual ~KsTopologyInfo() = default;
    virtual HResult NumNodes(std::uint32_t& count) = 0;
    virtual HResult NodeType(std::uint32_t node, Guid& type) = 0;
    // `iid` is the interface the instance is created for (IKsNodeControl).
    virtual HResult CreateNodeInstance(std::uint32_t node, const Guid& iid,
                                       std::shared_ptr<NodeInstance>& instance) = 0;
};

// IAMVideoProcAmp and IAMCameraControl have the same shape.
class RangedProperties {
public:
    virtual ~RangedProperties() = default;
    virtual HResult GetRange(std::int32_t property, std::int32_t& minimum, std::int32_t& maximum, std::int32_t& step,
                             std::int32_t& defaultValue, std::int32_t& flags) = 0;
    virtual HResult Get(std::int32_t property, std::int32_t& value, std::int32_t& flags) = 0;
    virtual HResult Set(std::int32_t property, std::int32_t value, std::int32_t flags) = 0;
};

// An output pin of a capture filter.
class CapturePin {
public:
    virtual ~CapturePin() = default;
};

// IAMVideoControl: the capture filter's pin modes (8 = trigger one still).
class VideoControl {
public:
    virtual ~VideoControl() = default;
    virtual HResult SetMode(CapturePin& pin, std::int32_t mode) = 0;
};

// IQualProp of a filter that renders or delivers frames.
class QualProp {
public:
    virtual ~QualProp() = default;
    // Frames per second times 100.
    virtual HResult get_AvgFrameRate(std::int32_t& rate) = 0;
};

// A bound capture filter (IBaseFilter) and the interfaces it may expose; a
// query answers kE_NOINTERFACE when the filter lacks one.
class Filter {
public:
    virtual ~Filter() = default;
    virtual HResult QueryKsControl(std::shared_ptr<KsControl>& control) = 0;
    // kNotOnThisPlatform where no camera driver has one.
    virtual HResult QueryKsPropertySet(std::shared_ptr<KsPropertySet>& propertySet) = 0;
    virtual HResult QueryKsTopologyInfo(std::shared_ptr<KsTopologyInfo>& topology) = 0;
    virtual HResult QueryVideoProcAmp(std::shared_ptr<RangedProperties>& procAmp) = 0;
    virtual HResult QueryCameraControl(std::shared_ptr<RangedProperties>& cameraControl) = 0;
    virtual HResult QueryVideoControl(std::shared_ptr<VideoControl>& videoControl) = 0;
    virtual HResult QueryQualProp(std::shared_ptr<QualProp>& qualProp) = 0;
    // The filter's property pages in a modal frame with this title, owned
    // by parentWindow; returns when the user closes it.
    virtual HResult ShowPropertyPages(void* parentWindow, const std::string& title) = 0;
};

// One device of the category.
class Moniker {
public:
    virtual ~Moniker() = default;
    virtual HResult BindToStorage(std::unique_ptr<PropertyBag>& bag) = 0;
    virtual HResult BindToObject(std::shared_ptr<Filter>& filter) = 0;
};

class MonikerEnumerator {
public:
    virtual ~MonikerEnumerator() = default;
    virtual HResult Reset() = 0;
    // Fetches one moniker; kS_OK with a moniker, anything else at the end.
    virtual HResult Next(std::unique_ptr<Moniker>& moniker) = 0;
};

class DeviceEnumerator {
public:
    virtual ~DeviceEnumerator() = default;
    // kS_FALSE (and no enumerator) for an empty category, as the platform does.
    virtual HResult CreateVideoInputEnumerator(std::unique_ptr<MonikerEnumerator>& enumerator) = 0;
};

// Enumeration and binding of the video-input devices.
class CaptureDevices {
public:
    virtual ~CaptureDevices() = default;
    virtual HResult CreateSystemDeviceEnumerator(std::unique_ptr<DeviceEnumerator>& enumerator) = 0;
};

}  // namespace kv::platform
