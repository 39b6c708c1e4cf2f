// A rig installed in the test's prefix with the build tree's kvsimcam.dll,
// and its devices as the real system device enumerator lists them.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <optional>
#include <string>
#include <vector>

#include "sim/win32/Install.h"
#include "tests/sim/win32/WinTestSupport.h"

namespace kv::sim::win32::test {

using Microsoft::WRL::ComPtr;

struct ListedDevice {
    std::optional<std::string> friendlyName;
    std::optional<std::string> devicePath;
    ComPtr<IMoniker> moniker;
};

// CreateClassEnumerator's result for the video-input category (or the
// failure to create the system device enumerator), and the devices listed.
HRESULT ListVideoInputs(std::vector<ListedDevice>& devices);

// The moniker's BindToObject for IBaseFilter.
HRESULT BindFilter(const ListedDevice& device, ComPtr<IBaseFilter>& filter);

class InstalledRig {
public:
    // Writes the rig into a scratch folder, names it in KV_SIM_RIG and
    // installs it; `installed` and `error` say how that went.
    explicit InstalledRig(const std::string& rigText);

    bool Reinstall(const std::string& rigText);

    ScratchFolder scratch;
    std::filesystem::path rig;
    std::optional<RigVariable> variable;
    InstallReport report;
    bool installed = false;
    std::string error;
};

}  // namespace kv::sim::win32::test
