// Live objects and server locks of kvsimcam.dll, for DllCanUnloadNow.
#pragma once

namespace kv::sim::win32 {

void ObjectCreated();
void ObjectDestroyed();
void LockServer(bool lock);
bool ServerInUse();

}  // namespace kv::sim::win32
