// The COM class registration of kvsimcam.dll's capture filter.
#pragma once

#include <filesystem>
#include <string>

namespace kv::sim::win32 {

// HKCR\CLSID\{clsid}, with InprocServer32 naming `dll` (a full Windows path)
// and ThreadingModel "Both".
bool RegisterServerClass(const std::filesystem::path& dll, std::string& error);
bool UnregisterServerClass(std::string& error);

}  // namespace kv::sim::win32
