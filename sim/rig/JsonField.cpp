// Field access with paths and range checks for the rig and state readers.
#include "sim/rig/JsonField.h"

#include <algorithm>
#include <cstdio>

#include "platform/TextBasics.h"

namespace kv::sim {

namespace {

std::string Describe(std::int64_t value) {
    char buf[32];
    if (value > 255) {
        std::snprintf(buf, sizeof buf, "0x%llX", static_cast<unsigned long long>(value));
    } else {
        std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(value));
    }
    return buf;
}

}  // namespace

bool ParseInteger(std::string_view text, std::int64_t& value) {
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text.size() > 15) return false;
    std::int64_t result = 0;
    for (const char c : text) {
        const int digit = platform::HexDigitValue(c);
        if (digit < 0 || digit >= base) return false;
        result = result * base + digit;
    }
    value = negative ? -result : result;
    return true;
}

bool JsonField::Has(std::string_view key) const {
    return value_.is_object() && value_.find(std::string(key)) != value_.end();
}

JsonField JsonField::operator[](std::string_view key) const {
    RequireObject();
    const std::string name(key);
    const std::string path = path_.empty() ? name : path_ + "." + name;
    const auto it = value_.find(name);
    if (it == value_.end()) JsonField(value_, path).Fail("missing");
    return JsonField(*it, path);
}

JsonField JsonField::At(std::size_t index) const {
    RequireArray();
    return JsonField(value_.at(index), path_ + "[" + std::to_string(index) + "]");
}

void JsonField::RequireObject() const {
    if (!value_.is_object()) Fail("expected an object");
}

void JsonField::RequireArray() const {
    if (!value_.is_array()) Fail("expected an array");
}

void JsonField::AllowKeys(std::initializer_list<std::string_view> allowed) const {
    RequireObject();
    for (auto it = value_.begin(); it != value_.end(); ++it) {
        if (std::find(allowed.begin(), allowed.end(), it.key()) == allowed.end()) {
            JsonField(*it, path_.empty() ? it.key() : path_ + "." + it.key()).Fail("unknown field");
        }
    }
}

std::int64_t JsonField::Integer(std::int64_t min, std::int64_t max) const {
    std::int64_t value = 0;
    if (value_.is_number_integer()) {
        value = value_.get<std::int64_t>();
    } else if (!value_.is_string() || !ParseInteger(value_.get<std::string>(), value)) {
        Fail("expected an integer (a number, or text such as \"0x1A\")");
    }
    if (value < min || value > max) Fail("must be from " + Describe(min) + " to " + Describe(max));
    return value;
}

std::string JsonField::Text() const {
    if (!value_.is_string()) Fail("expected a text");
    return value_.get<std::string>();
}

bool JsonField::Boolean() const {
    if (!value_.is_boolean()) Fail("expected true or false");
    return value_.get<bool>();
}

void JsonField::Fail(const std::string& problem) const {
    throw FieldError((path_.empty() ? std::string("(top level)") : path_) + ": " + problem);
}

}  // namespace kv::sim
