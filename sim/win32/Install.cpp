// The install and uninstall sequences.
#include "sim/win32/Install.h"

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <system_error>

#include "platform/win32/ModuleFile.h"
#include "platform/win32/Win32Adapters.h"
#include "sim/win32/DeviceRegistration.h"
#include "sim/win32/EnumeratorSwitch.h"
#include "sim/win32/ErrorText.h"
#include "sim/win32/RigLocation.h"
#include "sim/win32/ServerRegistration.h"
#include "sim/win32/SimIds.h"

namespace kv::sim::win32 {

namespace {

using Microsoft::WRL::ComPtr;

// COM for the calling thread, unless the caller has it already.
class ComScope {
public:
    ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    bool Usable() const { return SUCCEEDED(hr_) || hr_ == RPC_E_CHANGED_MODE; }

private:
    HRESULT hr_;
};

std::filesystem::path ServerBesideProgram() {
    const auto path = platform::win32::ModuleFileName(nullptr);
    if (!path) return {};
    return std::filesystem::path(*path).parent_path() / L"kvsimcam.dll";
}

bool ResolveServer(const InstallOptions& options, std::filesystem::path& server, std::string& error) {
    server = options.server.empty() ? ServerBesideProgram() : AbsoluteRigPath(options.server);
    std::error_code ec;
    if (!server.empty() && std::filesystem::is_regular_file(server, ec)) return true;
    error = "kvsimcam.dll not found at " + server.string();
    return false;
}

bool CreateMapper(ComPtr<IFilterMapper2>& mapper, std::string& error) {
    const HRESULT hr = CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&mapper));
    if (FAILED(hr)) error = WithHResult("cannot create the filter mapper", hr);
    return SUCCEEDED(hr);
}

bool RegisterDevices(IFilterMapper2& mapper, const Rig& rig, InstallReport& report, std::string& error) {
    if (rig.description().enumerator != EnumeratorMode::Normal) return true;
    for (std::size_t i = 0; i < rig.DeviceCount(); ++i) {
        if (!RegisterDevice(mapper, i, rig.Device(i).listing, error)) return false;
        report.instances.push_back(InstanceName(i));
    }
    return true;
}

}  // namespace

bool InstallRig(const Rig& rig, const InstallOptions& options, InstallReport& report, std::string& error) {
    report = InstallReport{};
    const ComScope com;
    ComPtr<IFilterMapper2> mapper;
    if (!com.Usable()) {
        error = "COM cannot be initialised";
        return false;
    }
    report.rigFile = AbsoluteRigPath(rig.file());
    return ResolveServer(options, report.server, error) && RegisterServerClass(report.server, error) &&
           RecordRigFile(rig.file(), error) && CreateMapper(mapper, error) &&
           RemoveDevices(*mapper.Get(), report.removed, error) &&
           SetEnumeratorAvailable(rig.description().enumerator != EnumeratorMode::CreateFails, error) &&
           RegisterDevices(*mapper.Get(), rig, report, error);
}

bool UninstallRig(std::size_t& removed, std::string& error) {
    removed = 0;
    const ComScope com;
    ComPtr<IFilterMapper2> mapper;
    if (!com.Usable()) {
        error = "COM cannot be initialised";
        return false;
    }
    // The enumerator comes back first: the mapper does not need it, but a
    // failure later must not leave the prefix without one.
    if (!SetEnumeratorAvailable(true, error) || !CreateMapper(mapper, error) ||
        !RemoveDevices(*mapper.Get(), removed, error) || !UnregisterServerClass(error)) {
        return false;
    }
    platform::win32::Win32Registry registry;
    const long status = registry.DeleteTree(platform::RegistryRoot::LocalMachine, kSimulatorKey);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
        error = WithWin32Error("cannot remove HKLM\\Software\\Korvex\\Simulator", status);
        return false;
    }
    return true;
}

}  // namespace kv::sim::win32
