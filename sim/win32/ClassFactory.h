// The class object of kvsimcam.dll's one class, the simulated capture filter.
#pragma once

#include <windows.h>
#include <unknwn.h>

namespace kv::sim::win32 {

HRESULT GetSimFilterClassObject(REFIID iid, void** out);

}  // namespace kv::sim::win32
