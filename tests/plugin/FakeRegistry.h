// An in-memory registry for the registration tests: keys are found without
// regard to case, as on Windows; every write is logged in order, and chosen
// keys or values can be made to fail.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "plugin/Registry.h"

namespace kv::plugin::test {

using Value = std::variant<std::string, std::vector<std::uint8_t>, std::uint32_t>;

class FakeRegistry : public Registry {
public:
    static constexpr long kAccessDenied = 5;

    // "HKLM\\path" spelled as the log shows it.
    static std::string Where(RootKey root, const std::string& path) {
        const char* name = root == RootKey::ClassesRoot ? "HKCR" : root == RootKey::CurrentUser ? "HKCU" : "HKLM";
        return std::string(name) + "\\" + path;
    }

    long CreateKey(RootKey root, const std::string& path, std::unique_ptr<RegistryKey>& key, bool& created) override {
        const std::string where = Where(root, path);
        if (failingKeys.count(where)) return kAccessDenied;
        created = !Exists(where);
        Ensure(where);
        log.push_back("create " + where);
        key = std::make_unique<Key>(*this, where);
        return kErrorSuccess;
    }
    long OpenKey(RootKey root, const std::string& path, std::unique_ptr<RegistryKey>& key) override {
        const std::string where = Where(root, path);
        if (!Exists(where)) return kErrorFileNotFound;
        key = std::make_unique<Key>(*this, where);
        return kErrorSuccess;
    }
    long DeleteTree(RootKey root, const std::string& path) override {
        const std::string folded = Fold(Where(root, path));
        if (!m_keys.count(folded)) return kErrorFileNotFound;
        std::erase_if(m_keys, [&](const auto& entry) {
            return entry.first == folded || entry.first.rfind(folded + "\\", 0) == 0;
        });
        log.push_back("delete " + Where(root, path));
        return kErrorSuccess;
    }

    bool Exists(const std::string& where) const { return m_keys.count(Fold(where)) != 0; }
    // The value, or nothing when the key or the value is not there.
    const Value* Get(const std::string& where, const std::string& name) const {
        const auto key = m_keys.find(Fold(where));
        if (key == m_keys.end()) return nullptr;
        const auto value = key->second.find(Fold(name));
        return value == key->second.end() ? nullptr : &value->second;
    }
    void Put(const std::string& where, const std::string& name, Value value) {
        Ensure(where);
        m_keys[Fold(where)][Fold(name)] = std::move(value);
    }

    std::vector<std::string> log;
    std::set<std::string> failingKeys;    // Where() of keys that cannot be created
    std::set<std::string> failingValues;  // value names that cannot be written

private:
    class Key : public RegistryKey {
    public:
        Key(FakeRegistry& registry, std::string where) : m_registry(registry), m_where(std::move(where)) {}
        long SetString(const std::string& name, const std::string& value) override { return Set(name, value); }
        long SetBinary(const std::string& name, std::span<const std::uint8_t> bytes) override {
            return Set(name, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
        }
        long SetDword(const std::string& name, std::uint32_t value) override { return Set(name, value); }
        long DeleteValue(const std::string& name) override {
            auto& values = m_registry.m_keys[Fold(m_where)];
            if (!values.erase(Fold(name))) return kErrorFileNotFound;
            m_registry.log.push_back("delete value " + m_where + " [" + name + "]");
            return kErrorSuccess;
        }
        long ReadBinary(const std::string& name, std::vector<std::uint8_t>& bytes) override {
            const Value* value = m_registry.Get(m_where, name);
            const auto* binary = value ? std::get_if<std::vector<std::uint8_t>>(value) : nullptr;
            if (!binary) return kErrorFileNotFound;
            bytes = *binary;
            return kErrorSuccess;
        }

    private:
        long Set(const std::string& name, Value value) {
            if (m_registry.failingValues.count(name)) return kAccessDenied;
            m_registry.log.push_back("set " + m_where + " [" + name + "]");
            m_registry.Put(m_where, name, std::move(value));
            return kErrorSuccess;
        }
        FakeRegistry& m_registry;
        std::string m_where;
    };

    // The key and its parents below the root, as the registry has no
    // orphan keys.
    void Ensure(const std::string& where) {
        for (std::size_t at = where.find('\\', 5); at != std::string::npos; at = where.find('\\', at + 1)) {
            m_keys[Fold(where.substr(0, at))];
        }
        m_keys[Fold(where)];
    }

    static std::string Fold(std::string text) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return text;
    }

    std::map<std::string, std::map<std::string, Value>> m_keys;
};

}  // namespace kv::plugin::test
