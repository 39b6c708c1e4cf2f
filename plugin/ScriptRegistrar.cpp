// Registering and unregistering a registry script.
#include "plugin/RegistryScript.h"

#include "platform/Utf8.h"

namespace kv::plugin {

namespace {

using platform::HResult;
using platform::kErrorFileNotFound;
using platform::kErrorSuccess;
using platform::Registry;
using platform::RegistryAccess;
using platform::RegistryKey;
using platform::RegistryRoot;
using platform::Utf8ToWide;

std::string Child(const std::string& path, const std::string& name) { return path.empty() ? name : path + "\\" + name; }

long WriteKey(Registry& registry, RegistryRoot root, const std::string& parent, const ScriptKey& key) {
    const std::string path = Child(parent, key.name);
    if (key.forceRemove) {
        const long removed = registry.DeleteTree(root, Utf8ToWide(path));
        if (removed != kErrorSuccess && removed != kErrorFileNotFound) return removed;
    }
    std::unique_ptr<RegistryKey> opened;
    long error = registry.CreateKey(root, Utf8ToWide(path), RegistryAccess::ReadWrite, opened, nullptr);
    if (error != kErrorSuccess) return error;
    if (key.defaultValue && (error = opened->SetString(L"", Utf8ToWide(*key.defaultValue))) != kErrorSuccess)
        return error;
    for (const ScriptValue& value : key.values) {
        if ((error = opened->SetString(Utf8ToWide(value.name), Utf8ToWide(value.text))) != kErrorSuccess) return error;
    }
    opened.reset();
    for (const ScriptKey& subkey : key.subkeys) {
        if ((error = WriteKey(registry, root, path, subkey)) != kErrorSuccess) return error;
    }
    return kErrorSuccess;
}

void Keep(long& first, long error) {
    if (first == kErrorSuccess && error != kErrorSuccess && error != kErrorFileNotFound) first = error;
}

long RemoveKey(Registry& registry, RegistryRoot root, const std::string& parent, const ScriptKey& key) {
    const std::string path = Child(parent, key.name);
    if (!key.noRemove) {
        const long error = registry.DeleteTree(root, Utf8ToWide(path));
        return error == kErrorFileNotFound ? kErrorSuccess : error;
    }
    long first = kErrorSuccess;
    std::unique_ptr<RegistryKey> opened;
    const long open = registry.OpenKey(root, Utf8ToWide(path), RegistryAccess::ReadAndSetValues, opened);
    if (open != kErrorSuccess) return open == kErrorFileNotFound ? kErrorSuccess : open;
    for (const ScriptValue& value : key.values) Keep(first, opened->DeleteValue(Utf8ToWide(value.name)));
    opened.reset();
    for (const ScriptKey& subkey : key.subkeys) Keep(first, RemoveKey(registry, root, path, subkey));
    return first;
}

}  // namespace

HResult RegisterScript(const RegistryScript& script, Registry& registry) {
    for (const ScriptRoot& root : script) {
        for (const ScriptKey& key : root.keys) {
            const long error = WriteKey(registry, root.root, "", key);
            if (error != kErrorSuccess) return platform::FromWin32(error);
        }
    }
    return platform::kS_OK;
}

HResult UnregisterScript(const RegistryScript& script, Registry& registry) {
    long first = kErrorSuccess;
    for (const ScriptRoot& root : script) {
        for (const ScriptKey& key : root.keys) Keep(first, RemoveKey(registry, root.root, "", key));
    }
    return platform::FromWin32(first);
}

}  // namespace kv::plugin
