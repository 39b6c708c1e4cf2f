// The Windows side of zelunit's registration: the registry and the type
// library through the platform's calls, and what the module carries.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "plugin/SelfRegistration.h"

namespace kv::plugin::win32 {

std::unique_ptr<Registry> MakeWin32Registry();
// Registers the type library resource of `modulePath`.
std::unique_ptr<TypeLibrary> MakeWin32TypeLibrary(const std::wstring& modulePath);

// The module's full path; nothing when the system does not tell it.
std::optional<std::wstring> ModulePath(HMODULE module);
// The module's REGISTRY resource 101.
std::optional<std::string> RegistryScriptResource(HMODULE module);
// UTF-8, the registration's narrow texts, and back.
std::string Narrow(const std::wstring& text);
std::wstring Widen(const std::string& text);

}  // namespace kv::plugin::win32
