// What the Wine tests of zelunit.dll share: the module loaded from the build
// tree, its entry points, registry reads, and fake COM objects that stand
// for the proxy's outer object and a filter's IKsControl.
#pragma once

#include <windows.h>
#include <wrl/client.h>

#include <atomic>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/KsInterfaces.h"
#include "sim/win32/KsNodeControl.h"
#include "sim/win32/SimIds.h"
#include "tests/sim/win32/WinTestSupport.h"
#include "wire/VendorKeys.h"

namespace kv::plugin::test {

using kv::sim::win32::IKsNodeControl;
using kv::sim::win32::kIidKsNodeControl;
using kv::sim::win32::test::ComApartment;
using kv::sim::win32::test::Library;
using kv::sim::win32::test::ScratchFolder;
using kv::win::IExtensionUnit;
using kv::win::kCLSID_ExtensionUnit;
using kv::win::kIID_IExtensionUnit;
using Microsoft::WRL::ComPtr;

// {77D86AEC-1F9E-4044-95C5-0F05B382C0F5}
inline constexpr GUID kLibId = {0x77D86AEC, 0x1F9E, 0x4044, {0x95, 0xC5, 0x0F, 0x05, 0xB3, 0x82, 0xC0, 0xF5}};
inline constexpr const char* kNodeKey = wire::kPluginNodeInterfaceKey;
using wire::kVendorKey;
inline constexpr const char* kClassKey = "CLSID\\{A0432DA0-A887-45F8-B28B-6693C6B9E619}";

// The build tree's zelunit.dll, loaded by its full path.
std::filesystem::path ZelunitPath();

class Zelunit {
public:
    Zelunit();
    bool Loaded() const { return library.Loaded(); }
    HRESULT RegisterServer() const;
    HRESULT UnregisterServer() const;
    HRESULT CanUnloadNow() const;
    HRESULT ClassFactory(ComPtr<IClassFactory>& factory) const;
    // A plain object, and the shared plug-in state emptied through it.
    ComPtr<IExtensionUnit> FreshUnit() const;

    Library library;
};

struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
    std::string Text() const;  // up to the first zero
    DWORD Dword() const;
};
std::optional<RegistryValue> ReadValue(HKEY root, const std::string& path, const std::string& name);
bool KeyExists(HKEY root, const std::string& path);

// A filter's IKsControl: records each request and answers a get without
// data with ERROR_MORE_DATA and `size`.
class FakeKsControl final : public kv::win::IKsControl {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE KsProperty(void* property, ULONG propertyLength, void* data, ULONG dataLength,
                                         ULONG* returned) override;
    HRESULT STDMETHODCALLTYPE KsMethod(void*, ULONG, void*, ULONG, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE KsEvent(void*, ULONG, void*, ULONG, ULONG*) override { return E_NOTIMPL; }

    std::atomic<ULONG> refs{1};  // held by the test
    std::vector<std::vector<BYTE>> properties;
    ULONG size = 6;
};

// The proxy's side of aggregation: owns the plug-in's inner unknown and
// hands every interface but IUnknown to it.
class FakeOuter final : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }

    std::atomic<ULONG> refs{1};  // held by the test
    ComPtr<IUnknown> inner;
};

}  // namespace kv::plugin::test
