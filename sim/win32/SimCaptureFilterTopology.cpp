// The simulated filter's IKsTopologyInfo: the device's nodes and their types
// from the rig, and node instances made as the kernel-streaming proxy makes
// them.
#include <cwchar>

#include "sim/hw/Topology.h"
#include "sim/win32/NodePlugin.h"
#include "sim/win32/SimCaptureFilter.h"
#include "sim/win32/WinGuid.h"
#include "wire/PropertySets.h"

namespace kv::sim::win32 {

namespace {

// KSCATEGORY_VIDEO and KSCATEGORY_CAPTURE, as a USB camera's filter lists them.
constexpr GUID kCategories[] = {
    {0x6994AD05, 0x93EF, 0x11D0, {0xA3, 0xCC, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}},
    {0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}},
};

const wchar_t* NodeName(const platform::Guid& type) {
    if (type == wire::kNodeCameraTerminal) return L"Camera Terminal";
    if (type == wire::kNodeVideoProcessing) return L"Processing Unit";
    if (type == wire::kNodeDevSpecific) return L"Extension Unit";
    if (type == wire::kNodeVideoStreaming) return L"Video Streaming";
    return L"Unit";
}

}  // namespace

HRESULT SimCaptureFilter::get_NumCategories(DWORD* count) {
    if (count == nullptr) return E_POINTER;
    *count = static_cast<DWORD>(std::size(kCategories));
    return S_OK;
}

HRESULT SimCaptureFilter::get_Category(DWORD index, GUID* category) {
    if (category == nullptr) return E_POINTER;
    if (index >= std::size(kCategories)) return E_INVALIDARG;
    *category = kCategories[index];
    return S_OK;
}

// The model describes units, not the pin connections between them.
HRESULT SimCaptureFilter::get_NumConnections(DWORD* count) {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT SimCaptureFilter::get_ConnectionInfo(DWORD, kv::win::KsTopologyConnection* connection) {
    return connection == nullptr ? E_POINTER : E_INVALIDARG;
}

// bufferSize and *nameLength count bytes, the terminating zero included; a
// buffer too small (or none) gets the length and ERROR_MORE_DATA.
HRESULT SimCaptureFilter::get_NodeName(DWORD node, WCHAR* name, DWORD bufferSize, DWORD* nameLength) {
    const auto target = binding_.Get();
    if (!target) return E_UNEXPECTED;
    platform::Guid type;
    const HRESULT hr = static_cast<HRESULT>(NodeType(target->Entry().config, node, type));
    if (FAILED(hr)) return hr;
    const wchar_t* text = NodeName(type);
    const auto bytes = static_cast<DWORD>((std::wcslen(text) + 1) * sizeof(wchar_t));
    if (nameLength != nullptr) *nameLength = bytes;
    if (name == nullptr || bufferSize < bytes) return HRESULT_FROM_WIN32(ERROR_MORE_DATA);
    std::wmemcpy(name, text, bytes / sizeof(wchar_t));
    return S_OK;
}

HRESULT SimCaptureFilter::get_NumNodes(DWORD* count) {
    if (count == nullptr) return E_POINTER;
    const auto target = binding_.Get();
    if (!target) return E_UNEXPECTED;
    *count = NodeCount(target->Entry().config);
    return S_OK;
}

HRESULT SimCaptureFilter::get_NodeType(DWORD node, GUID* type) {
    if (type == nullptr) return E_POINTER;
    const auto target = binding_.Get();
    if (!target) return E_UNEXPECTED;
    platform::Guid found;
    const HRESULT hr = static_cast<HRESULT>(NodeType(target->Entry().config, node, found));
    if (SUCCEEDED(hr)) *type = ToWinGuid(found);
    return hr;
}

HRESULT SimCaptureFilter::CreateNodeInstance(DWORD node, REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    const auto target = binding_.Get();
    if (!target) return E_UNEXPECTED;
    const CameraConfig& config = target->Entry().config;
    if (node >= NodeCount(config)) return E_INVALIDARG;
    // The plug-in gets the filter's control interface, as from the proxy; a
    // device without one still hands over the filter itself.
    IUnknown* control = binding_.Offers("IKsControl") ? static_cast<kv::win::IKsControl*>(this) : Identity();
    return CreateNodePlugin(NodeSets(config, node), node, control, iid, object);
}

}  // namespace kv::sim::win32
