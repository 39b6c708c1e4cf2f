// Registry scripts in the registrar syntax that the module carries as its
// REGISTRY resource, and what registering and unregistering one does.
//
//   HKCR
//   {
//       Name.1 = s 'Text'
//       {
//           CLSID = s '{...}'
//       }
//       NoRemove CLSID
//       {
//           ForceRemove {...} = s 'Text'
//           {
//               InprocServer32 = s '%MODULE%'
//               {
//                   val ThreadingModel = s 'Apartment'
//               }
//               'TypeLib' = s '{...}'
//           }
//       }
//   }
//
// Tokens are separated by white space; a name is a bare word or a quoted
// text ('' inside quotes is one quote); values are strings (s). %NAME% in
// a name or value is replaced by the variable of that name, %% by %.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace kv::plugin {

struct ScriptValue {
    std::string name;
    std::string text;
};

struct ScriptKey {
    std::string name;
    bool noRemove = false;     // unregistering leaves the key (its contents are still visited)
    bool forceRemove = false;  // registering first removes the key with everything below it
    std::optional<std::string> defaultValue;
    std::vector<ScriptValue> values;  // `val` entries
    std::vector<ScriptKey> subkeys;
};

struct ScriptRoot {
    platform::RegistryRoot root;
    std::vector<ScriptKey> keys;
};

using RegistryScript = std::vector<ScriptRoot>;

// Nothing, with `error` saying what and where, when the text is not a
// script of this syntax or names an unknown variable.
std::optional<RegistryScript> ParseRegistryScript(std::string_view text,
                                                  const std::map<std::string, std::string>& variables,
                                                  std::string& error);

// Creates every key and writes every value, in script order; a ForceRemove
// key is removed first. Stops at the first failure and returns it.
platform::HResult RegisterScript(const RegistryScript& script, platform::Registry& registry);

// Removes every key of the script with everything below it, except NoRemove
// keys, inside which it removes the listed subkeys and `val` values. Keys
// already gone are no failure; other failures are returned, the first one,
// after the rest of the script has been visited.
platform::HResult UnregisterScript(const RegistryScript& script, platform::Registry& registry);

}  // namespace kv::plugin
