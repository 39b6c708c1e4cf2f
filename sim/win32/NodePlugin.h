// Node instances the way the platform's kernel-streaming proxy makes them:
// the plug-in registered for the node's property set, aggregated, told its
// node and the filter's control.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <vector>

#include "platform/Guid.h"

namespace kv::sim::win32 {

// For each property set the node answers, in order, looks up
// HKLM\SYSTEM\CurrentControlSet\Control\NodeInterfaces\{set} and its "CLSID"
// (16 bytes, REG_BINARY); the first registered class is created aggregated
// inside a node object, given the node id (put_NodeId) and `ksControl`
// (put_KsControl), and the node object answers `iid`. E_NOINTERFACE when no
// set of the node has a plug-in or the plug-in lacks IKsNodeControl or iid;
// otherwise the first failure of the creation or of the two calls.
HRESULT CreateNodePlugin(const std::vector<platform::Guid>& sets, DWORD node, IUnknown* ksControl, REFIID iid,
                         void** out);

}  // namespace kv::sim::win32
