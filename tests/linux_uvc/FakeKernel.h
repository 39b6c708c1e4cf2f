// A kernel for the Linux adapters' tests: sysfs as files and links, device
// nodes that answer the capability query and the extension-unit query, and
// a record of what was opened and asked.
#pragma once

#include <linux/usb/video.h>
#include <linux/uvcvideo.h>
#include <linux/videodev2.h>

#include <array>
#include <cstring>
#include <functional>
#include <map>
#include <vector>

#include "platform/CameraWalk.h"
#include "linux_uvc/LinuxKernel.h"
#include "linux_uvc/UvcDescriptors.h"

namespace kv::platform::linux_uvc {

using UnitQuery = std::array<int, 4>;  // unit, selector, query, size

class FakeKernel : public LinuxKernel {
public:
    std::map<std::string, std::string> files, links;
    std::map<std::string, int> openErrors;
    std::map<std::string, std::uint32_t> deviceCaps;
    std::vector<std::string> opened;
    std::vector<UnitQuery> queries;
    std::map<std::uint32_t, v4l2_queryctrl> controls;
    std::map<std::uint32_t, std::int32_t> values;
    // Answers an extension-unit query: 0 or an errno.
    std::function<int(uvc_xu_control_query&)> unit = [](uvc_xu_control_query&) { return 0; };

    std::optional<std::string> ReadFile(const std::string& path) override {
        return files.count(path) ? std::optional(files[path]) : std::nullopt;
    }
    std::optional<std::string> ReadLink(const std::string& path) override {
        return links.count(path) ? std::optional(links[path]) : std::nullopt;
    }
    std::vector<std::string> ListDirectory(const std::string& path) override {
        std::vector<std::string> names;
        for (const auto& [link, _] : links) names.push_back(link.substr(path.size() + 1));
        return names;
    }
    int Open(const std::string& path, int& error) override {
        error = openErrors[path];
        if (error) return -1;
        opened.push_back(path);
        m_open[static_cast<int>(opened.size())] = path;
        return static_cast<int>(opened.size());
    }
    int Ioctl(int fd, unsigned long request, void* argument) override {
        if (request == VIDIOC_QUERYCAP) {
            auto* capability = static_cast<v4l2_capability*>(argument);
            capability->capabilities = V4L2_CAP_DEVICE_CAPS | V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_META_CAPTURE;
            capability->device_caps = deviceCaps[m_open.at(fd)];
            std::strcpy(reinterpret_cast<char*>(capability->card), ("Camera " + m_open.at(fd)).c_str());
            return 0;
        }
        if (request == VIDIOC_QUERYCTRL) {
            auto* query = static_cast<v4l2_queryctrl*>(argument);
            return controls.count(query->id) ? (*query = controls[query->id], 0) : EINVAL;
        }
        if (request == VIDIOC_G_CTRL || request == VIDIOC_S_CTRL) {
            auto* control = static_cast<v4l2_control*>(argument);
            if (!controls.count(control->id)) return EINVAL;
            if (request == VIDIOC_G_CTRL) control->value = values[control->id];
            else values[control->id] = control->value;
            return 0;
        }
        if (request != UVCIOC_CTRL_QUERY) return ENOTTY;
        auto& query = *static_cast<uvc_xu_control_query*>(argument);
        queries.push_back({query.unit, query.selector, query.query, query.size});
        return unit(query);
    }
    void Close(int fd) override { m_open.erase(fd); }
    std::size_t OpenCount() const { return m_open.size(); }

    // A camera's node below its USB interface at `port` on bus 1.
    void AddNode(const std::string& name, const std::string& port, const std::string& vendor,
                 const std::string& product, std::uint32_t caps, const std::string& descriptors = "") {
        const std::string device = "/sys/devices/pci0000:00/0000:00:14.0/usb1/" + port;
        links["/sys/class/video4linux/" + name] =
            "../../devices/pci0000:00/0000:00:14.0/usb1/" + port + "/" + port + ":1.0/video4linux/" + name;
        files[device + "/idVendor"] = vendor + "\n";
        files[device + "/idProduct"] = product + "\n";
        files[device + "/descriptors"] = descriptors;
        files[device + "/" + port + ":1.0/bInterfaceNumber"] = "00\n";
        deviceCaps["/dev/" + name] = caps;
    }

    void AddControl(std::uint32_t id, std::int32_t minimum, std::int32_t maximum, std::int32_t value) {
        controls[id] = v4l2_queryctrl{id, V4L2_CTRL_TYPE_INTEGER, {}, minimum, maximum, 1, value, 0, {}};
        values[id] = value;
    }

private:
    std::map<int, std::string> m_open;
};

// VideoControl interface 0 declaring these units, as sysfs "descriptors" holds it.
inline std::string UnitDescriptors(const std::vector<std::pair<std::uint8_t, Guid>>& units) {
    std::string blob = {9, 0x04, 0, 0, 0, 0x0E, 0x01, 0, 0};
    for (const auto& [id, guid] : units) {
        blob += std::string{24, 0x24, 0x06, static_cast<char>(id)};
        for (const auto byte : guid.ToBytes()) blob += static_cast<char>(byte);
        blob += std::string(4, '\0');
    }
    return blob;
}

inline std::vector<CameraDescriptor> Walk(CaptureDevices& devices) {
    std::vector<CameraDescriptor> found;
    const auto walk = CameraWalk::Open(devices);
    CameraDescriptor device;
    while (walk && walk->Next(device)) found.push_back(device);
    return found;
}

}  // namespace kv::platform::linux_uvc
