// Strict reading of JSON input (rig and state files): every value knows its
// place in the document, so that an error can name the field.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace kv::sim {

// Thrown inside the rig layer only; its text is "<field>: <problem>".
class FieldError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class JsonField {
public:
    JsonField(const nlohmann::json& value, std::string path) : value_(value), path_(std::move(path)) {}

    const nlohmann::json& json() const { return value_; }
    const std::string& path() const { return path_; }

    bool Has(std::string_view key) const;
    bool IsNull() const { return value_.is_null(); }
    JsonField operator[](std::string_view key) const;  // the key must be present
    JsonField At(std::size_t index) const;

    void RequireObject() const;
    void RequireArray() const;
    // Refuses keys outside `allowed`, so that a misspelt field is not ignored.
    void AllowKeys(std::initializer_list<std::string_view> allowed) const;

    // A JSON number, or a text in decimal or "0x" hexadecimal.
    std::int64_t Integer(std::int64_t min, std::int64_t max) const;
    std::string Text() const;
    bool Boolean() const;

    [[noreturn]] void Fail(const std::string& problem) const;

private:
    const nlohmann::json& value_;
    std::string path_;
};

// Parses a decimal or "0x" hexadecimal text; false when it is not one.
bool ParseInteger(std::string_view text, std::int64_t& value);

}  // namespace kv::sim
