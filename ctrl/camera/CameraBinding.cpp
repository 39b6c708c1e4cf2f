// Binding a capture device and running its family's loaders.
#include "ctrl/camera/CameraBinding.h"

#include <cstdio>

#include "ctrl/common/Text.h"
#include "ctrl/xulib/XuLib.h"

namespace kv::ctrl {

namespace {

constexpr const char* kKsControlQuery = "pBaseFilter->QueryInterface(IID_IKsControl,(LPVOID*)&pKsControl)";

bool InFamilyRange(const std::string& family, const char* low, const char* high) {
    return family >= low && family <= high;
}

// The device key's characters 2 to 4: the last three hexadecimal digits of
// the product id.
std::string FamilyText(const std::string& deviceKey) {
    return deviceKey.size() > 1 ? deviceKey.substr(1, 3) : std::string();
}

}  // namespace

int CameraBinding::Device_Init(int vendorId, int /*productId*/, std::string deviceKey) {
    static_cast<void>(m_ports.comApartment.Initialize());
    Log("Device_Init->CoInitialize");

    char vendorText[16];
    std::snprintf(vendorText, sizeof vendorText, "vid_%04x", static_cast<unsigned>(vendorId) & 0xFFFFu);
    std::unique_ptr<platform::DeviceEnumerator> enumerator;
    const platform::HResult created = m_ports.captureDevices.CreateSystemDeviceEnumerator(enumerator);
    Log("Device_Init->CoCreateInstance");
    if (created != platform::kS_OK || !enumerator) {
        m_ports.ui.DebugOutput("No devices found in the device list.");
        Log("Device_Init->CoCreateInstance Error");
        return 0;
    }
    platform::CameraWalk walk(*enumerator);
    Log("Device_Init->pCreateDevEnum->CreateClassEnumerator");
    if (!walk.Opened()) {
        m_ports.ui.DebugOutput("There are no VideoInputDevice devices available");
        Log("Device_Init->pCreateDevEnum->CreateClassEnumerator ERROR");
        return 0;
    }
    enumerator.reset();
    static_cast<void>(walk.Reset());
    Log("Device_Init->pEm->Reset()");

    // The control belongs to whichever filter was bound before; a binding that
    // ends early (the SMIUtility family) must not leave it aimed there.
    m_filterPair.ksControl = nullptr;
    const bool bound = [&] {
        platform::CameraDescriptor device;
        while (walk.Next(device)) {
            if (FindAndBindOne(device, vendorText, deviceKey)) return true;
        }
        return false;
    }();

    if (const int early = RunFamilyLoaders(FamilyText(deviceKey)); early) return early;

    if (!bound) {
        Log("(hr == S_OK) ERROR");
        return 0;
    }
    std::shared_ptr<platform::KsControl> control;
    const platform::HResult queried = m_filterPair.baseFilter->QueryKsControl(control);
    m_filterPair.ksControl = platform::Succeeded(queried) ? control : nullptr;
    Log(kKsControlQuery);
    if (queried != platform::kS_OK || !m_filterPair.ksControl) {
        Log(std::string(kKsControlQuery) + " hr != NOERROR");
        return 0;
    }
    Log(std::string(kKsControlQuery) + " Ok");
    return 1;
}

bool CameraBinding::FindAndBindOne(const platform::CameraDescriptor& device, const std::string& vendorText,
                                   const std::string& deviceKey) {
    Log("Device_Init->pM->BindToStorage(0, 0, IID_IPropertyBag, (void **)&pBag)");
    if (platform::Failed(device.storage)) return false;
    Log("Device_Init->pM->BindToStorage SUCCEEDED");

    // A path that could not be read is logged as no path at all.
    const std::string path = device.devicePath.value_or(std::string());
    if (!path.empty()) Log(path);
    Log("pBag->Read(DevicePath, &var, NULL)");
    if (!device.devicePath) return false;
    Log(path);
    Log("pBag->Read(DevicePath, &var, NULL) SUCCEEDED");

    const std::string lowered = ToLower(path);
    const auto vendorAt = lowered.find(vendorText);
    const auto keyAt = lowered.find(deviceKey);
    const bool matches = vendorAt != std::string::npos && vendorAt > 0 && keyAt != std::string::npos && keyAt > 0;
    if (!matches) {
        m_filterPair.baseFilter = nullptr;
        return false;
    }
    std::shared_ptr<platform::Filter> filter;
    const platform::HResult objectBound = device.Bind(filter);
    m_filterPair.baseFilter = filter;
    return platform::Succeeded(objectBound) && m_filterPair.baseFilter;
}

// Returns nonzero when Device_Init must end at once with that result.
int CameraBinding::RunFamilyLoaders(const std::string& family) {
    if (InFamilyRange(family, "810", "813")) {
        if (!m_smi.Load(m_ports.modules)) {
            m_ports.ui.ShowMessageBox("SMIUtility.dll does not exist or d3dx9_31.dll is not in the same folder.");
            return 1;
        }
        if (m_smi.CreateDeviceObject() != 0) {
            m_ports.ui.ShowMessageBox("Create Device Error!");
            m_smi.DestroyDeviceObject();
            return 1;
        }
    }
    for (const auto& [low, high] : {std::pair{"870", "929"}, std::pair{"960", "99f"}}) {
        if (!InFamilyRange(family, low, high)) continue;
        xulib_Close();
        if (xulib_Open() == 0) m_ports.ui.ShowMessageBox("Vorpal.lib Initial Fail!");
    }
    return 0;
}

}  // namespace kv::ctrl
