// A mocked Linux kernel for the console program's Linux adapters: umockdev's
// testbed holds, for every device of a rig, the USB device with its
// configuration descriptors, its VideoControl interface, and the capture and
// metadata nodes that the video driver makes; the nodes' ioctls are answered
// by the rig's simulated camera. Then one command runs in it, through
// umockdev's preload library, with the rig's own host adapters out of the
// way (KV_SIM_RIG is removed), so the program takes the Linux adapters.
//
//   kv_uvc_testbed RIG -- PROGRAM [ARGUMENTS...]
//
// It starts itself again under umockdev's preload library, which the
// command inherits. Ends with the program's exit status, or 70 when a
// request reached a device of another vendor, which the adapters must never
// open, or 71 when a camera's interface was not given back to the video
// driver.
#include <linux/usb/video.h>
#include <linux/usbdevice_fs.h>
#include <linux/uvcvideo.h>
#include <linux/videodev2.h>
#include <sys/wait.h>
#include <umockdev.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "sim/hw/CameraProperties.h"
#include "sim/hw/DirectUsbDevice.h"
#include "sim/rig/Rig.h"
#include "sim/rig/Session.h"
#include "wire/KsProperty.h"
#include "wire/PropertySets.h"

namespace {

using kv::platform::Guid;
using kv::sim::PropertyGroup;
using Bytes = std::vector<std::uint8_t>;

constexpr int kForeignRequestStatus = 70;
constexpr int kDriverNotGivenBackStatus = 71;
constexpr const char* kPreload = "libumockdev-preload.so.0";

std::string WithPreload(const char* preload) {
    const std::string others = preload ? preload : "";
    if (others.find(kPreload) != std::string::npos) return others;
    return others.empty() ? kPreload : std::string(kPreload) + " " + others;
}

// One extension unit as the camera's descriptors declare it and as the rig's
// model answers it (its property set on its node).
struct Unit {
    std::uint8_t id = 0;
    Guid set;
    std::uint32_t node = 0;
};

struct Camera {
    std::size_t device = 0;
    bool korvex = false;
    std::string card;
    std::vector<Unit> units;
    // Its usbfs side: who holds interface 0 (the video driver, the program
    // through usbfs, or nobody), and the finished transfers (the caller's
    // addresses of their URBs) not yet reaped.
    std::string interfaceDriver = "uvcvideo";
    bool usbOpened = false;
    std::deque<gulong> finishedUrbs;
};

enum class NodeKind { Capture, Metadata, Usbfs };

struct Node {
    Camera* camera = nullptr;
    NodeKind kind = NodeKind::Capture;
    bool capture() const { return kind == NodeKind::Capture; }
};

std::vector<Unit> UnitsOf(const kv::sim::CameraConfig& config) {
    std::vector<Unit> units;
    const std::pair<const kv::sim::ExtensionUnitSettings*, Guid> kinds[] = {{&config.bridgeXu, kv::wire::kBridgeXuSet},
                                                                            {&config.pluginXu, kv::wire::kPluginXuSet},
                                                                            {&config.aveoXu, kv::wire::kAveoXuSet}};
    for (const auto& [settings, set] : kinds) {
        if (settings->present) units.push_back({static_cast<std::uint8_t>(3 + units.size()), set, settings->node});
    }
    return units;
}

void Append(Bytes& out, std::initializer_list<int> bytes) {
    for (const int byte : bytes) out.push_back(static_cast<std::uint8_t>(byte));
}

// What sysfs "descriptors" holds for such a camera: the device descriptor,
// then the configuration with its interface association, the VideoControl
// interface (header, camera terminal, extension units) and the streaming
// interface.
Bytes Descriptors(std::uint16_t vendor, std::uint16_t product, const std::vector<Unit>& units) {
    Bytes out;
    Append(out, {18, 0x01, 0x00, 0x02, 0xEF, 0x02, 0x01, 64, vendor & 0xFF, vendor >> 8, product & 0xFF, product >> 8,
                 0x00, 0x01, 1, 2, 3, 1});
    Append(out, {9, 0x02, 0, 0, 2, 1, 0, 0x80, 250});
    Append(out, {8, 0x0B, 0, 2, 0x0E, 0x03, 0, 0});
    Append(out, {9, 0x04, 0, 0, 1, 0x0E, 0x01, 0, 0});
    Append(out, {13, 0x24, 0x01, 0x00, 0x01, 0, 0, 0x80, 0x8D, 0x5B, 0x00, 1, 1});
    Append(out, {18, 0x24, 0x02, 1, 0x01, 0x02, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0});
    for (const Unit& unit : units) {
        Append(out, {27, 0x24, 0x06, unit.id});
        const auto guid = unit.set.ToBytes();
        out.insert(out.end(), guid.begin(), guid.end());
        Append(out, {16, 1, 1, 2, 0xFF, 0xFF, 0});
    }
    Append(out, {9, 0x04, 1, 0, 0, 0x0E, 0x02, 0, 0});
    const std::size_t total = out.size() - 18;
    out[18 + 2] = static_cast<std::uint8_t>(total & 0xFF);
    out[18 + 3] = static_cast<std::uint8_t>(total >> 8);
    return out;
}

// The driver's errno for a result the model gives, as uvcvideo reports a
// device's answer: a stall is EPIPE.
int ErrnoOf(kv::platform::HResult hr) {
    switch (static_cast<std::uint32_t>(hr)) {
    case static_cast<std::uint32_t>(kv::wire::kHrNotFound):
    case static_cast<std::uint32_t>(kv::wire::kHrSetNotFound):
        return ENOENT;
    case static_cast<std::uint32_t>(kv::wire::kHrInsufficientBuffer):
        return ENOBUFS;
    case static_cast<std::uint32_t>(kv::wire::kHrGenFailure):
        return EPIPE;
    case static_cast<std::uint32_t>(kv::wire::kHrNotSupported):
        return EBADRQC;
    default:
        return EIO;
    }
}

// The standard controls the driver makes of the camera's video-processing
// and camera-control properties, with the automatic-mode switches.
struct StandardControl {
    std::uint32_t id;
    PropertyGroup group;
    std::int32_t property;
    bool autoSwitch;
};

constexpr StandardControl kStandardControls[] = {
    {V4L2_CID_BRIGHTNESS, PropertyGroup::VideoProcAmp, 0, false},
    {V4L2_CID_CONTRAST, PropertyGroup::VideoProcAmp, 1, false},
    {V4L2_CID_HUE, PropertyGroup::VideoProcAmp, 2, false},
    {V4L2_CID_HUE_AUTO, PropertyGroup::VideoProcAmp, 2, true},
    {V4L2_CID_SATURATION, PropertyGroup::VideoProcAmp, 3, false},
    {V4L2_CID_SHARPNESS, PropertyGroup::VideoProcAmp, 4, false},
    {V4L2_CID_GAMMA, PropertyGroup::VideoProcAmp, 5, false},
    {V4L2_CID_WHITE_BALANCE_TEMPERATURE, PropertyGroup::VideoProcAmp, 7, false},
    {V4L2_CID_AUTO_WHITE_BALANCE, PropertyGroup::VideoProcAmp, 7, true},
    {V4L2_CID_BACKLIGHT_COMPENSATION, PropertyGroup::VideoProcAmp, 8, false},
    {V4L2_CID_GAIN, PropertyGroup::VideoProcAmp, 9, false},
    {V4L2_CID_ZOOM_ABSOLUTE, PropertyGroup::CameraControl, 3, false},
    {V4L2_CID_EXPOSURE_ABSOLUTE, PropertyGroup::CameraControl, 4, false},
    {V4L2_CID_EXPOSURE_AUTO, PropertyGroup::CameraControl, 4, true},
    {V4L2_CID_FOCUS_ABSOLUTE, PropertyGroup::CameraControl, 6, false},
    {V4L2_CID_FOCUS_AUTO, PropertyGroup::CameraControl, 6, true},
};

const StandardControl* FindControl(std::uint32_t id) {
    for (const auto& control : kStandardControls) {
        if (control.id == id) return &control;
    }
    return nullptr;
}

// The model keeps exposure as the platform shows it, log2 of seconds; the
// driver counts 100 µs.
bool IsExposure(const StandardControl& control) { return control.id == V4L2_CID_EXPOSURE_ABSOLUTE; }
std::int32_t ToDriverExposure(std::int32_t log2Seconds) {
    return static_cast<std::int32_t>(std::lround(std::ldexp(10000.0, log2Seconds)));
}
std::int32_t FromDriverExposure(std::int32_t hundredMicroseconds) {
    return static_cast<std::int32_t>(std::lround(std::log2(std::max(hundredMicroseconds, 1) / 10000.0)));
}
// The automatic switch's values: exposure's is a menu (manual, aperture
// priority), the others are booleans.
std::int32_t AutoValue(const StandardControl& control, bool automatic) {
    if (control.id == V4L2_CID_EXPOSURE_AUTO) return automatic ? V4L2_EXPOSURE_APERTURE_PRIORITY : V4L2_EXPOSURE_MANUAL;
    return automatic ? 1 : 0;
}

class Testbed {
public:
    explicit Testbed(const kv::sim::Rig& rig) : m_rig(rig), m_session(rig), m_bed(umockdev_testbed_new()) {}
    ~Testbed() {
        for (UMockdevIoctlBase* handler : m_handlers) g_object_unref(handler);
        g_object_unref(m_bed);
    }

    bool Build(std::string& error);
    int Run(char** command);

private:
    static gboolean OnIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer self) {
        static_cast<Testbed*>(self)->Answer(client);
        return TRUE;
    }
    void AddCamera(std::size_t index, std::string& error);
    void Add(const std::string& description, std::string& error);
    void Attach(const std::string& path, const Node& node, std::string& error);
    void Answer(UMockdevIoctlClient* client);
    int QueryCapability(const Node& node, UMockdevIoctlData* argument);
    int ControlQuery(const Node& node, UMockdevIoctlData* argument);
    int StandardControlCall(const Node& node, unsigned long request, UMockdevIoctlData* argument);
    int UsbfsCall(Camera& camera, unsigned long request, UMockdevIoctlData* argument, long& result);
    int SubmitControlTransfer(Camera& camera, UMockdevIoctlData* urb);
    kv::sim::Answer Settle(kv::sim::Answer answer) {
        if (answer.hangMs) g_usleep(static_cast<gulong>(answer.hangMs) * 1000);
        return answer;
    }

    const kv::sim::Rig& m_rig;
    kv::sim::Session m_session;
    UMockdevTestbed* m_bed;
    std::vector<UMockdevIoctlBase*> m_handlers;
    std::vector<Camera> m_cameras;
    std::map<std::string, Node> m_nodes;
    bool m_foreignRequest = false;
};

bool Testbed::Build(std::string& error) {
    m_cameras.reserve(m_rig.DeviceCount());
    for (std::size_t index = 0; index < m_rig.DeviceCount() && error.empty(); ++index) AddCamera(index, error);
    return error.empty();
}

// Camera N of the rig sits at USB port 1-N of bus 1 (the adapters order by
// port, so the rig's order is the program's), with nodes video(2N-2), the
// capture node, and video(2N-1), the metadata node. The devices are written
// in umockdev's description format, whose loader also makes their device
// files: the USB device's usbfs node too, so that libusb lists it.
void Testbed::AddCamera(std::size_t index, std::string& error) {
    const auto& device = m_rig.Device(index);
    const auto& config = device.config;
    Camera& camera = m_cameras.emplace_back();
    camera.device = index;
    camera.korvex = config.vendorId == 0xA168;
    camera.card = device.listing.friendlyName.value_or("USB Camera");
    camera.units = UnitsOf(config);

    const std::string port = "1-" + std::to_string(index + 1);
    const std::string usb = "/devices/" + port;
    const std::string interface = usb + "/" + port + ":1.0";
    char ids[64], usbfs[32];
    std::snprintf(ids, sizeof ids, "A: idVendor=%04x\nA: idProduct=%04x\n", config.vendorId, config.productId);
    std::snprintf(usbfs, sizeof usbfs, "bus/usb/001/%03zu", index + 2);
    std::string hex;
    for (const std::uint8_t byte : Descriptors(config.vendorId, config.productId, camera.units)) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", byte);
        hex += pair;
    }
    Add("P: " + usb + "\nN: " + usbfs + "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nE: DEVNAME=/dev/" + usbfs +
            "\nE: BUSNUM=001\nE: DEVNUM=" + std::string(usbfs + 12) + "\n" + ids +
            "A: busnum=1\nA: devnum=" + std::to_string(index + 2) + "\nA: serial=" + port +
            "\nA: dev=189:" + std::to_string(index + 1) + "\nH: descriptors=" + hex + "\n",
        error);
    Attach("/dev/" + std::string(usbfs), Node{&camera, NodeKind::Usbfs}, error);
    Add("P: " + interface + "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\nA: bInterfaceNumber=00\n" +
            "A: bInterfaceClass=0e\nA: bInterfaceSubClass=01\n",
        error);
    for (const bool capture : {true, false}) {
        const std::string name = "video" + std::to_string(2 * index + (capture ? 0 : 1));
        const std::string node = "/dev/" + name;
        Add("P: " + interface + "/video4linux/" + name + "\nN: " + name + "\nE: SUBSYSTEM=video4linux\nE: DEVNAME=" +
                node + "\nA: name=" + camera.card + "\nA: dev=81:" + name.substr(5) + "\n",
            error);
        Attach(node, Node{&camera, capture ? NodeKind::Capture : NodeKind::Metadata}, error);
    }
}

// One handler per node: a handler listens on one node only.
void Testbed::Attach(const std::string& path, const Node& node, std::string& error) {
    UMockdevIoctlBase* handler = m_handlers.emplace_back(umockdev_ioctl_base_new());
    g_signal_connect(handler, "handle-ioctl", G_CALLBACK(OnIoctl), this);
    GError* failure = nullptr;
    if (error.empty() && !umockdev_testbed_attach_ioctl(m_bed, path.c_str(), handler, &failure)) {
        error = path + ": " + failure->message;
        g_error_free(failure);
    }
    m_nodes[path] = node;
}

void Testbed::Add(const std::string& description, std::string& error) {
    GError* failure = nullptr;
    if (error.empty() && !umockdev_testbed_add_from_string(m_bed, description.c_str(), &failure)) {
        error = failure->message;
        g_error_free(failure);
    }
}

void Testbed::Answer(UMockdevIoctlClient* client) {
    const auto found = m_nodes.find(umockdev_ioctl_client_get_devnode(client));
    const unsigned long request = umockdev_ioctl_client_get_request(client);
    // The argument is the caller's pointer: what it points at is the
    // request's structure, of the size the request number holds.
    GError* failure = nullptr;
    UMockdevIoctlData* pointer = umockdev_ioctl_client_get_arg(client);
    UMockdevIoctlData* argument = _IOC_SIZE(request) == 0
                                      ? static_cast<UMockdevIoctlData*>(g_object_ref(pointer))
                                      : umockdev_ioctl_data_resolve(pointer, 0, _IOC_SIZE(request), &failure);
    int error = ENOTTY;
    long result = 0;
    if (!argument) {
        error = EFAULT;
        if (failure) g_error_free(failure);
    } else if (found == m_nodes.end()) {
        error = ENODEV;
    } else if (!found->second.camera->korvex) {
        std::fprintf(stderr, "kv_uvc_testbed: a request reached %s, a device of another vendor\n",
                     found->first.c_str());
        m_foreignRequest = true;
        error = EIO;
    } else if (found->second.kind == NodeKind::Usbfs) {
        error = UsbfsCall(*found->second.camera, request, argument, result);
    } else if (request == VIDIOC_QUERYCAP) {
        error = QueryCapability(found->second, argument);
    } else if (request == UVCIOC_CTRL_QUERY) {
        error = ControlQuery(found->second, argument);
    } else if (request == VIDIOC_QUERYCTRL || request == VIDIOC_G_CTRL || request == VIDIOC_S_CTRL) {
        error = StandardControlCall(found->second, request, argument);
    }
    if (argument) g_object_unref(argument);
    umockdev_ioctl_client_complete(client, error ? -1 : result, error);
}

int Testbed::QueryCapability(const Node& node, UMockdevIoctlData* argument) {
    v4l2_capability capability{};
    std::snprintf(reinterpret_cast<char*>(capability.driver), sizeof capability.driver, "uvcvideo");
    std::snprintf(reinterpret_cast<char*>(capability.card), sizeof capability.card, "%s", node.camera->card.c_str());
    std::snprintf(reinterpret_cast<char*>(capability.bus_info), sizeof capability.bus_info, "usb-0000:00:14.0-%zu",
                  node.camera->device + 1);
    capability.version = 0x060100;
    capability.capabilities =
        V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_META_CAPTURE | V4L2_CAP_STREAMING | V4L2_CAP_DEVICE_CAPS;
    capability.device_caps = (node.capture() ? V4L2_CAP_VIDEO_CAPTURE : V4L2_CAP_META_CAPTURE) | V4L2_CAP_STREAMING;
    umockdev_ioctl_data_update(argument, 0, reinterpret_cast<guint8*>(&capability), sizeof capability);
    return 0;
}

// UVCIOC_CTRL_QUERY as a node request to the model: SET_CUR a set, GET_CUR a
// get of the query's size, GET_LEN the model's size query, GET_INFO "get and
// set". As the driver does, the metadata node refuses the query.
int Testbed::ControlQuery(const Node& node, UMockdevIoctlData* argument) {
    if (!node.capture()) return ENOTTY;
    uvc_xu_control_query query{};
    std::memcpy(&query, argument->data, sizeof query);
    const auto& units = node.camera->units;
    const auto unit = std::find_if(units.begin(), units.end(), [&](const Unit& u) { return u.id == query.unit; });
    if (unit == units.end()) return ENOENT;
    GError* failure = nullptr;
    UMockdevIoctlData* data =
        umockdev_ioctl_data_resolve(argument, offsetof(uvc_xu_control_query, data), query.size, &failure);
    if (!data) {
        if (failure) g_error_free(failure);
        return EFAULT;
    }
    Bytes bytes(data->data, data->data + query.size);
    const auto request = [&](std::uint32_t flags, std::span<std::uint8_t> buffer) {
        const auto property = kv::wire::NodeProperty(unit->set, query.selector, flags, unit->node);
        return Settle(m_session.KsProperty(node.camera->device, property, buffer));
    };
    int error = 0;
    switch (query.query) {
    case UVC_GET_LEN: {
        const auto answer = request(kv::wire::kNodeGet, {});
        if (query.size != 2) {
            error = ENOBUFS;
        } else if (answer.hr == kv::wire::kHrMoreData || answer.hr == kv::platform::kS_OK) {
            bytes = {static_cast<std::uint8_t>(answer.bytesReturned & 0xFF),
                     static_cast<std::uint8_t>(answer.bytesReturned >> 8)};
        } else {
            error = ErrnoOf(answer.hr);
        }
        break;
    }
    case UVC_GET_INFO:
        if (query.size != 1) error = ENOBUFS;
        else bytes = {UVC_CONTROL_CAP_GET | UVC_CONTROL_CAP_SET};
        break;
    case UVC_GET_CUR:
    case UVC_SET_CUR: {
        const auto answer = request(query.query == UVC_GET_CUR ? kv::wire::kNodeGet : kv::wire::kNodeSet, bytes);
        if (kv::platform::Failed(answer.hr)) error = ErrnoOf(answer.hr);
        break;
    }
    default:
        error = EBADRQC;
        break;
    }
    if (!error && query.query != UVC_SET_CUR)
        umockdev_ioctl_data_update(data, 0, bytes.data(), static_cast<gint>(bytes.size()));
    g_object_unref(data);
    return error;
}

// VIDIOC_QUERYCTRL, VIDIOC_G_CTRL and VIDIOC_S_CTRL from the camera's
// ranged properties; a property the model lacks is a control the driver
// does not have (EINVAL).
int Testbed::StandardControlCall(const Node& node, unsigned long request, UMockdevIoctlData* argument) {
    if (!node.capture()) return EINVAL;
    const std::size_t device = node.camera->device;
    if (request == VIDIOC_QUERYCTRL) {
        v4l2_queryctrl query{};
        std::memcpy(&query, argument->data, sizeof query);
        const StandardControl* control = FindControl(query.id);
        kv::sim::PropertyRange range;
        if (!control || kv::platform::Failed(m_session.GetRange(device, control->group, control->property, range).hr)) {
            return EINVAL;
        }
        if (control->autoSwitch) {
            if (!(range.caps & kv::sim::kFlagAuto)) return EINVAL;
            query.type = control->id == V4L2_CID_EXPOSURE_AUTO ? V4L2_CTRL_TYPE_MENU : V4L2_CTRL_TYPE_BOOLEAN;
            query.minimum = std::min(AutoValue(*control, false), AutoValue(*control, true));
            query.maximum = std::max(AutoValue(*control, false), AutoValue(*control, true));
            query.step = 1;
            query.default_value = AutoValue(*control, true);
        } else {
            const bool exposure = IsExposure(*control);
            query.type = V4L2_CTRL_TYPE_INTEGER;
            query.minimum = exposure ? ToDriverExposure(range.min) : range.min;
            query.maximum = exposure ? ToDriverExposure(range.max) : range.max;
            query.step = exposure ? 1 : range.step;
            query.default_value = exposure ? ToDriverExposure(range.def) : range.def;
        }
        umockdev_ioctl_data_update(argument, 0, reinterpret_cast<guint8*>(&query), sizeof query);
        return 0;
    }
    v4l2_control value{};
    std::memcpy(&value, argument->data, sizeof value);
    const StandardControl* control = FindControl(value.id);
    if (!control) return EINVAL;
    std::int32_t current = 0, flags = 0;
    if (kv::platform::Failed(m_session.Get(device, control->group, control->property, current, flags).hr))
        return EINVAL;
    if (request == VIDIOC_G_CTRL) {
        value.value = control->autoSwitch    ? AutoValue(*control, flags & kv::sim::kFlagAuto)
                      : IsExposure(*control) ? ToDriverExposure(current)
                                             : current;
        umockdev_ioctl_data_update(argument, 0, reinterpret_cast<guint8*>(&value), sizeof value);
        return 0;
    }
    if (control->autoSwitch) {
        flags = value.value == AutoValue(*control, true) ? kv::sim::kFlagAuto : kv::sim::kFlagManual;
    } else {
        current = IsExposure(*control) ? FromDriverExposure(value.value) : value.value;
        flags = kv::sim::kFlagManual;
    }
    return kv::platform::Failed(m_session.Set(device, control->group, control->property, current, flags).hr) ? ERANGE
                                                                                                             : 0;
}

// The usbfs calls libusb makes for the direct USB path: who holds the
// interface, the driver's detach and give-back, claim and release, and
// control transfers, which the model carries out when they are submitted
// and which are then reaped: a transfer is finished at once.
int Testbed::UsbfsCall(Camera& camera, unsigned long request, UMockdevIoctlData* argument, long& result) {
    switch (request) {
    case USBDEVFS_GETDRIVER: {
        usbdevfs_getdriver query{};
        std::memcpy(&query, argument->data, sizeof query);
        if (query.interface != 0 || camera.interfaceDriver.empty()) return ENODATA;
        std::snprintf(query.driver, sizeof query.driver, "%s", camera.interfaceDriver.c_str());
        umockdev_ioctl_data_update(argument, 0, reinterpret_cast<guint8*>(&query), sizeof query);
        return 0;
    }
    case USBDEVFS_IOCTL: {
        usbdevfs_ioctl command{};
        std::memcpy(&command, argument->data, sizeof command);
        if (command.ifno != 0) return EINVAL;
        if (command.ioctl_code == static_cast<int>(USBDEVFS_DISCONNECT)) {
            if (camera.interfaceDriver != "uvcvideo") return ENODATA;
            camera.interfaceDriver.clear();
            return 0;
        }
        if (command.ioctl_code == static_cast<int>(USBDEVFS_CONNECT)) {
            if (camera.interfaceDriver == "usbfs") return EBUSY;
            camera.interfaceDriver = "uvcvideo";
            result = 1;  // as the kernel answers: a driver took the interface
            return 0;
        }
        return ENOTTY;
    }
    case USBDEVFS_CLAIMINTERFACE:
    case USBDEVFS_RELEASEINTERFACE: {
        unsigned int interface = 0;
        std::memcpy(&interface, argument->data, sizeof interface);
        const bool claim = request == USBDEVFS_CLAIMINTERFACE;
        if (interface != 0) return EINVAL;
        if (claim && camera.interfaceDriver == "uvcvideo") return EBUSY;
        if (!claim && camera.interfaceDriver != "usbfs") return EINVAL;
        camera.interfaceDriver = claim ? "usbfs" : "";
        if (claim && !camera.usbOpened) camera.usbOpened = kv::platform::Succeeded(m_session.UsbOpen(camera.device).hr);
        return 0;
    }
    case USBDEVFS_SUBMITURB:
        return SubmitControlTransfer(camera, argument);
    case USBDEVFS_REAPURB:
    case USBDEVFS_REAPURBNDELAY: {
        if (camera.finishedUrbs.empty()) return EAGAIN;
        const std::uint64_t address = camera.finishedUrbs.front();
        camera.finishedUrbs.pop_front();
        umockdev_ioctl_data_update(argument, 0, reinterpret_cast<guint8*>(const_cast<std::uint64_t*>(&address)),
                                   sizeof address);
        return 0;
    }
    case USBDEVFS_DISCARDURB:
        return EINVAL;  // every transfer has finished already
    default:
        return ENOTTY;
    }
}

int Testbed::SubmitControlTransfer(Camera& camera, UMockdevIoctlData* urb) {
    usbdevfs_urb transfer{};
    std::memcpy(&transfer, urb->data, sizeof transfer);
    constexpr std::size_t kSetupSize = 8;
    if (transfer.type != USBDEVFS_URB_TYPE_CONTROL || transfer.buffer_length < static_cast<int>(kSetupSize)) {
        return EINVAL;
    }
    if (camera.interfaceDriver != "usbfs") return EBUSY;  // the interface is not claimed
    GError* failure = nullptr;
    UMockdevIoctlData* buffer = umockdev_ioctl_data_resolve(urb, offsetof(usbdevfs_urb, buffer),
                                                            static_cast<gsize>(transfer.buffer_length), &failure);
    if (!buffer) {
        if (failure) g_error_free(failure);
        return EFAULT;
    }
    std::span<const std::uint8_t, kSetupSize> setup(buffer->data, kSetupSize);
    Bytes data(buffer->data + kSetupSize, buffer->data + transfer.buffer_length);
    const auto answer = Settle(m_session.UsbControl(camera.device, kv::sim::UsbSetup::FromBytes(setup), data));
    const bool in = (setup[0] & 0x80) != 0;
    transfer.status = kv::platform::Failed(answer.hr) ? -EPIPE : 0;
    transfer.actual_length = transfer.status ? 0 : static_cast<int>(in ? answer.bytesReturned : data.size());
    if (in && transfer.actual_length > 0) {
        umockdev_ioctl_data_update(buffer, kSetupSize, data.data(), transfer.actual_length);
    }
    g_object_unref(buffer);
    umockdev_ioctl_data_update(urb, 0, reinterpret_cast<guint8*>(&transfer), sizeof transfer);
    camera.finishedUrbs.push_back(urb->client_addr);
    return 0;
}

struct Child {
    GMainLoop* loop;
    int status;
};

// The command with umockdev's preload library in front and the testbed's
// root in its environment; the rig's adapters are not chosen.
int Testbed::Run(char** command) {
    gchar** environment = g_get_environ();
    environment = g_environ_unsetenv(environment, "KV_SIM_RIG");
    gchar* root = umockdev_testbed_get_root_dir(m_bed);
    environment = g_environ_setenv(environment, "UMOCKDEV_DIR", root, TRUE);
    g_free(root);

    GPid pid = 0;
    GError* failure = nullptr;
    const gboolean started = g_spawn_async(
        nullptr, command, environment,
        static_cast<GSpawnFlags>(G_SPAWN_DO_NOT_REAP_CHILD | G_SPAWN_SEARCH_PATH | G_SPAWN_CHILD_INHERITS_STDIN),
        nullptr, nullptr, &pid, &failure);
    g_strfreev(environment);
    if (!started) {
        std::fprintf(stderr, "kv_uvc_testbed: %s: %s\n", command[0], failure->message);
        g_error_free(failure);
        return 127;
    }
    Child child{g_main_loop_new(nullptr, FALSE), 0};
    g_child_watch_add(
        pid,
        [](GPid ended, gint status, gpointer data) {
            auto* waited = static_cast<Child*>(data);
            waited->status = status;
            g_spawn_close_pid(ended);
            g_main_loop_quit(waited->loop);
        },
        &child);
    g_main_loop_run(child.loop);
    g_main_loop_unref(child.loop);
    if (m_foreignRequest) return kForeignRequestStatus;
    for (const Camera& camera : m_cameras) {
        if (camera.interfaceDriver == "uvcvideo") continue;
        std::fprintf(
            stderr, "kv_uvc_testbed: the video driver was not given back interface 0 of the camera at USB port 1-%zu\n",
            camera.device + 1);
        return kDriverNotGivenBackStatus;
    }
    if (WIFSIGNALED(child.status)) return 128 + WTERMSIG(child.status);
    return WEXITSTATUS(child.status);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || std::strcmp(argv[2], "--") != 0) {
        std::fprintf(stderr, "usage: kv_uvc_testbed RIG -- PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    // The testbed builds its sysfs through the preload library's eyes too.
    const char* current = g_getenv("LD_PRELOAD");
    const std::string preload = WithPreload(current);
    if (preload != (current ? current : "")) {
        g_setenv("LD_PRELOAD", preload.c_str(), TRUE);
        execv("/proc/self/exe", argv);
        std::fprintf(stderr, "kv_uvc_testbed: cannot start itself with %s: %s\n", kPreload, std::strerror(errno));
        return 2;
    }
    std::string error;
    const auto rig = kv::sim::Rig::Load(argv[1], error);
    if (!rig) {
        std::fprintf(stderr, "kv_uvc_testbed: %s\n", error.c_str());
        return 2;
    }
    Testbed testbed(*rig);
    if (!testbed.Build(error)) {
        std::fprintf(stderr, "kv_uvc_testbed: %s\n", error.c_str());
        return 2;
    }
    return testbed.Run(argv + 3);
}
