// Enumeration, property bags and binding of the capture nodes.
#include "linux_uvc/LinuxCaptureDevices.h"

#include <vector>

#include "linux_uvc/LinuxFilter.h"

namespace kv::platform::linux_uvc {

namespace {

constexpr HResult kNoSuchValue = static_cast<HResult>(0x80070002u);         // ERROR_FILE_NOT_FOUND
constexpr HResult kDeviceNotConnected = static_cast<HResult>(0x8007048Fu);  // ERROR_DEVICE_NOT_CONNECTED

class NodePropertyBag : public PropertyBag {
public:
    explicit NodePropertyBag(CameraNode camera) : m_camera(std::move(camera)) {}
    HResult Read(const std::string& name, std::string& value) override {
        if (name == "DevicePath") {
            value = DevicePath(m_camera);
        } else if (name == "FriendlyName") {
            value = m_camera.card;
        } else {
            return kNoSuchValue;
        }
        return kS_OK;
    }

private:
    CameraNode m_camera;  // a bag may outlive its moniker
};

class NodeMoniker : public Moniker {
public:
    NodeMoniker(std::shared_ptr<LinuxDeviceContext> context, CameraNode camera)
        : m_context(std::move(context)), m_camera(std::move(camera)) {}
    HResult BindToStorage(std::unique_ptr<PropertyBag>& bag) override {
        bag = std::make_unique<NodePropertyBag>(m_camera);
        return kS_OK;
    }
    HResult BindToObject(std::shared_ptr<Filter>& filter) override {
        int error = 0;
        const int fd = m_context->kernel.Open(m_camera.node, error);
        if (fd < 0) {
            m_context->Tell({m_camera.node, m_camera.portPath, error});
            return ResultOfErrno(error) == kS_OK ? kE_FAIL : ResultOfErrno(error);
        }
        auto node = std::make_shared<OpenNode>(m_context->kernel, fd);
        // Checked once the node is open, so that what was checked is what is open.
        if (!StillOurs(m_context->kernel, m_context->roots, m_camera)) return kDeviceNotConnected;
        const std::string descriptors = m_context->kernel.ReadFile(m_camera.usbDevice + "/descriptors").value_or("");
        const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(descriptors.data()),
                                                  descriptors.size());
        filter =
            MakeLinuxFilter(std::move(node), UnitsOfInterface(bytes, m_camera.interfaceNumber), m_context->pluginClass);
        return kS_OK;
    }

private:
    std::shared_ptr<LinuxDeviceContext> m_context;
    CameraNode m_camera;
};

class NodeMonikers : public MonikerEnumerator {
public:
    NodeMonikers(std::shared_ptr<LinuxDeviceContext> context, std::vector<CameraNode> cameras)
        : m_context(std::move(context)), m_cameras(std::move(cameras)) {}
    HResult Reset() override {
        m_next = 0;
        return kS_OK;
    }
    HResult Next(std::unique_ptr<Moniker>& moniker) override {
        if (m_next >= m_cameras.size()) return kS_FALSE;
        moniker = std::make_unique<NodeMoniker>(m_context, m_cameras[m_next++]);
        return kS_OK;
    }

private:
    std::shared_ptr<LinuxDeviceContext> m_context;
    std::vector<CameraNode> m_cameras;
    std::size_t m_next = 0;
};

class NodeEnumerator : public DeviceEnumerator {
public:
    explicit NodeEnumerator(std::shared_ptr<LinuxDeviceContext> context) : m_context(std::move(context)) {}
    // As the platform does, S_FALSE and no enumerator for an empty category.
    HResult CreateVideoInputEnumerator(std::unique_ptr<MonikerEnumerator>& enumerator) override {
        CameraScan scan = ScanCameraNodes(m_context->kernel, m_context->roots);
        for (const auto& unopened : scan.unopened) m_context->Tell(unopened);
        if (scan.cameras.empty()) return kS_FALSE;
        enumerator = std::make_unique<NodeMonikers>(m_context, std::move(scan.cameras));
        return kS_OK;
    }

private:
    std::shared_ptr<LinuxDeviceContext> m_context;
};

}  // namespace

void LinuxDeviceContext::Tell(const UnopenedNode& unopened) {
    const std::lock_guard lock(m_toldLock);
    if (m_told.insert(unopened.portPath).second) console.WriteErrorLine(UnopenedLine(unopened));
}

HResult LinuxCaptureDevices::CreateSystemDeviceEnumerator(std::unique_ptr<DeviceEnumerator>& enumerator) {
    enumerator = std::make_unique<NodeEnumerator>(m_context);
    return kS_OK;
}

}  // namespace kv::platform::linux_uvc
