// The Windows side of zelunit's registration: the type library through the
// platform's calls, and what the module carries.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "plugin/SelfRegistration.h"

namespace kv::plugin::win32 {

// Registers the type library resource of `modulePath`.
std::unique_ptr<TypeLibrary> MakeWin32TypeLibrary(const std::wstring& modulePath);

// The module's REGISTRY resource 101.
std::optional<std::string> RegistryScriptResource(HMODULE module);

}  // namespace kv::plugin::win32
