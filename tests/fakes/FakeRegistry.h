// An in-memory registry: keys are found without regard to case, as on
// Windows; every write is logged in order (in UTF-8), and chosen keys or
// values can be made to fail. Keys and values are given in UTF-8 as
// "HKLM\\path", the way the log shows them.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "platform/Registry.h"
#include "platform/Utf8.h"

namespace kv::test {

using RegistryValue = std::variant<std::wstring, std::vector<std::uint8_t>, std::uint32_t>;

class FakeRegistry : public platform::Registry {
public:
    using Root = platform::RegistryRoot;

    static std::string Where(Root root, const std::wstring& path) {
        const char* name = root == Root::ClassesRoot ? "HKCR" : root == Root::CurrentUser ? "HKCU" : "HKLM";
        return std::string(name) + "\\" + platform::WideToUtf8(path);
    }

    long CreateKey(Root root, const std::wstring& path, platform::RegistryAccess,
                   std::unique_ptr<platform::RegistryKey>& key, bool* created) override {
        const std::string where = Where(root, path);
        if (failingKeys.count(where)) return platform::kErrorAccessDenied;
        if (created != nullptr) *created = !Exists(where);
        Ensure(where);
        log.push_back("create " + where);
        key = std::make_unique<Key>(*this, where);
        return platform::kErrorSuccess;
    }
    long OpenKey(Root root, const std::wstring& path, platform::RegistryAccess,
                 std::unique_ptr<platform::RegistryKey>& key) override {
        const std::string where = Where(root, path);
        if (failingKeys.count(where)) return platform::kErrorAccessDenied;
        if (!Exists(where)) return platform::kErrorFileNotFound;
        key = std::make_unique<Key>(*this, where);
        return platform::kErrorSuccess;
    }
    long DeleteTree(Root root, const std::wstring& path) override {
        const std::string where = Where(root, path);
        const std::string folded = Fold(where);
        if (!m_keys.count(folded)) return platform::kErrorFileNotFound;
        const auto below = [&](const auto& entry) {
            return entry.first == folded || entry.first.rfind(folded + "\\", 0) == 0;
        };
        std::erase_if(m_keys, below);
        std::erase_if(m_spelling, below);
        log.push_back("delete " + where);
        return platform::kErrorSuccess;
    }

    bool Exists(const std::string& where) const { return m_keys.count(Fold(where)) != 0; }
    // The value, or nothing when the key or the value is not there.
    const RegistryValue* Get(const std::string& where, const std::string& name) const {
        const auto key = m_keys.find(Fold(where));
        if (key == m_keys.end()) return nullptr;
        const auto value = key->second.find(Fold(name));
        return value == key->second.end() ? nullptr : &value->second;
    }
    // A text value in UTF-8; empty when missing or of another type.
    std::string Text(const std::string& where, const std::string& name = "") const {
        const RegistryValue* value = Get(where, name);
        const auto* text = value ? std::get_if<std::wstring>(value) : nullptr;
        return text ? platform::WideToUtf8(*text) : std::string();
    }
    void Put(const std::string& where, const std::string& name, RegistryValue value) {
        Ensure(where);
        m_keys[Fold(where)][Fold(name)] = std::move(value);
    }
    void PutText(const std::string& where, const std::string& name, const std::string& text) {
        Put(where, name, platform::Utf8ToWide(text));
    }

    std::vector<std::string> log;
    std::set<std::string> failingKeys;    // Where() of keys that cannot be created or opened
    std::set<std::string> failingValues;  // value names that cannot be written

private:
    class Key : public platform::RegistryKey {
    public:
        Key(FakeRegistry& registry, std::string where) : m_registry(registry), m_where(std::move(where)) {}
        long SetString(const std::wstring& name, const std::wstring& value) override { return Set(name, value); }
        long SetBinary(const std::wstring& name, std::span<const std::uint8_t> bytes) override {
            return Set(name, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
        }
        long SetDword(const std::wstring& name, std::uint32_t value) override { return Set(name, value); }
        long DeleteValue(const std::wstring& name) override {
            auto& values = m_registry.m_keys[Fold(m_where)];
            if (!values.erase(Fold(platform::WideToUtf8(name)))) return platform::kErrorFileNotFound;
            m_registry.log.push_back("delete value " + m_where + " [" + platform::WideToUtf8(name) + "]");
            return platform::kErrorSuccess;
        }
        long ReadString(const std::wstring& name, std::wstring& value) override { return Read(name, value); }
        long ReadDword(const std::wstring& name, std::uint32_t& value) override { return Read(name, value); }
        long ReadBinary(const std::wstring& name, std::vector<std::uint8_t>& bytes) override {
            return Read(name, bytes);
        }
        std::vector<std::wstring> SubkeyNames() override {
            std::vector<std::wstring> names;
            const std::string prefix = Fold(m_where) + "\\";
            for (const auto& entry : m_registry.m_keys) {
                const std::string& path = entry.first;
                if (path.rfind(prefix, 0) == 0 && path.find('\\', prefix.size()) == std::string::npos) {
                    names.push_back(platform::Utf8ToWide(m_registry.m_spelling.at(path).substr(prefix.size())));
                }
            }
            return names;
        }

    private:
        long Set(const std::wstring& wideName, RegistryValue value) {
            const std::string name = platform::WideToUtf8(wideName);
            if (m_registry.failingValues.count(name)) return platform::kErrorAccessDenied;
            m_registry.log.push_back("set " + m_where + " [" + name + "]");
            m_registry.Put(m_where, name, std::move(value));
            return platform::kErrorSuccess;
        }
        template <class T>
        long Read(const std::wstring& name, T& out) {
            const RegistryValue* value = m_registry.Get(m_where, platform::WideToUtf8(name));
            if (value == nullptr) return platform::kErrorFileNotFound;
            const T* typed = std::get_if<T>(value);
            if (typed == nullptr) return platform::kErrorUnsupportedType;
            out = *typed;
            return platform::kErrorSuccess;
        }
        FakeRegistry& m_registry;
        std::string m_where;
    };

    // The key and its parents below the root, as the registry has no
    // orphan keys; the first spelling of each is kept for SubkeyNames.
    void Ensure(const std::string& where) {
        for (std::size_t at = where.find('\\', 5); at != std::string::npos; at = where.find('\\', at + 1)) {
            Remember(where.substr(0, at));
        }
        Remember(where);
    }
    void Remember(const std::string& where) {
        m_keys[Fold(where)];
        m_spelling.emplace(Fold(where), where);
    }

    static std::string Fold(std::string text) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return text;
    }

    std::map<std::string, std::map<std::string, RegistryValue>> m_keys;
    std::map<std::string, std::string> m_spelling;
};

}  // namespace kv::test
