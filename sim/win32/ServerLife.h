// Live objects and server locks of kvsimcam.dll, for DllCanUnloadNow.
#pragma once

#include "platform/win32/ComServer.h"

namespace kv::sim::win32 {

platform::win32::ServerLife& Server();

}  // namespace kv::sim::win32
