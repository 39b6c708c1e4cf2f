// Binding a capture device: the walk over the video-input category for the
// device whose path names the vendor and the device key, the filter pair it
// leaves bound, and the loaders the product family needs (SMIUtility, the
// register library).
#pragma once

#include <string>

#include "ctrl/camera/CameraLog.h"
#include "ctrl/camera/FilterPair.h"
#include "ctrl/camera/SmiUtilityLibrary.h"
#include "platform/CameraWalk.h"
#include "platform/Ports.h"

namespace kv::ctrl {

class CameraBinding {
public:
    CameraBinding(platform::Ports& ports, FilterPair& filterPair, SmiUtilityLibrary& smi, CameraLog& log)
        : m_ports(ports), m_filterPair(filterPair), m_smi(smi), m_log(log) {}

    // Results: 1 success, 0 failure.
    int Device_Init(int vendorId, int productId, std::string deviceKey);

private:
    bool FindAndBindOne(const platform::CameraDescriptor& device, const std::string& vendorText,
                        const std::string& deviceKey);
    int RunFamilyLoaders(const std::string& family);
    void Log(const std::string& text) { m_log.Log(text); }

    platform::Ports& m_ports;
    FilterPair& m_filterPair;
    SmiUtilityLibrary& m_smi;
    CameraLog& m_log;
};

}  // namespace kv::ctrl
