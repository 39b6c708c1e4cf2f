// The node object that aggregates a node plug-in, and the registry look-up
// that finds the plug-in.
#include "sim/win32/NodePlugin.h"

#include <wrl/client.h>

#include <atomic>
#include <cstring>
#include <new>
#include <optional>

#include "platform/win32/Win32Adapters.h"
#include "sim/win32/KsNodeControl.h"
#include "sim/win32/ServerLife.h"
#include "sim/win32/SimIds.h"
#include "sim/win32/WinGuid.h"
#include "wire/VendorKeys.h"

namespace kv::sim::win32 {

namespace {

using Microsoft::WRL::ComPtr;

// The node-interface key of a property set; its name is ASCII.
std::wstring NodeInterfaceKey(const platform::Guid& set) {
    const std::string key = std::string(wire::kNodeInterfacesKey) + "\\" + set.ToString();
    return std::wstring(key.begin(), key.end());
}

std::optional<CLSID> PluginClass(const platform::Guid& set) {
    platform::win32::Win32Registry registry;
    std::unique_ptr<platform::RegistryKey> key;
    const std::wstring path = NodeInterfaceKey(set);
    std::vector<std::uint8_t> bytes;
    if (registry.OpenKey(platform::RegistryRoot::LocalMachine, path, platform::RegistryAccess::Read, key) !=
            ERROR_SUCCESS ||
        key->ReadBinary(L"CLSID", bytes) != ERROR_SUCCESS || bytes.size() != sizeof(CLSID)) {
        return std::nullopt;
    }
    CLSID clsid;
    std::memcpy(&clsid, bytes.data(), sizeof clsid);
    return clsid;
}

// The controlling unknown of one node instance: answers IUnknown itself and
// hands every other interface request to the aggregated plug-in.
class NodeObject final : public IUnknown {
public:
    NodeObject() { Server().ObjectCreated(); }
    ~NodeObject() { Server().ObjectDestroyed(); }
    NodeObject(const NodeObject&) = delete;
    NodeObject& operator=(const NodeObject&) = delete;

    HRESULT Aggregate(const CLSID& plugin) {
        return CoCreateInstance(plugin, this, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                reinterpret_cast<void**>(inner_.ReleaseAndGetAddressOf()));
    }
    IUnknown* Inner() const { return inner_.Get(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        if (iid == IID_IUnknown) {
            *out = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return inner_ ? inner_->QueryInterface(iid, out) : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) {
            // Guards against the plug-in's own release calls reaching us
            // again while it goes away.
            refs_ = 1;
            delete this;
        }
        return left;
    }

private:
    // Starts at zero: the creator's smart pointer takes the first reference.
    // (MinGW's ComPtr::Attach adds a reference where Microsoft's does not,
    // so handing over a reference that `new` made is not portable.)
    std::atomic<ULONG> refs_{0};
    ComPtr<IUnknown> inner_;  // the plug-in's own (non-delegating) unknown
};

HRESULT Introduce(IUnknown& node, DWORD nodeId, IUnknown* ksControl) {
    ComPtr<IKsNodeControl> control;
    HRESULT hr = node.QueryInterface(kIidKsNodeControl, reinterpret_cast<void**>(control.GetAddressOf()));
    if (FAILED(hr)) return E_NOINTERFACE;
    hr = control->put_NodeId(nodeId);
    if (SUCCEEDED(hr)) hr = control->put_KsControl(ksControl);
    return hr;
}

}  // namespace

HRESULT CreateNodePlugin(const std::vector<platform::Guid>& sets, DWORD node, IUnknown* ksControl, REFIID iid,
                         void** out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    std::optional<CLSID> plugin;
    for (const platform::Guid& set : sets) {
        if ((plugin = PluginClass(set))) break;
    }
    if (!plugin) return E_NOINTERFACE;
    auto* object = new (std::nothrow) NodeObject();
    if (object == nullptr) return E_OUTOFMEMORY;
    // The node object starts without references; this one keeps it alive
    // while the plug-in is made and introduced, and drops it at the end.
    const ComPtr<IUnknown> holder(static_cast<IUnknown*>(object));
    HRESULT hr = object->Aggregate(*plugin);
    if (SUCCEEDED(hr) && object->Inner() == nullptr) hr = E_NOINTERFACE;
    if (SUCCEEDED(hr)) hr = Introduce(*object, node, ksControl);
    if (SUCCEEDED(hr)) hr = object->QueryInterface(iid, out);
    return hr;
}

}  // namespace kv::sim::win32
