// Ownership of the automation values our COM code passes around: a VARIANT
// that is cleared when it goes, whatever it came to hold.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <optional>
#include <string>

namespace kv::platform::win32 {

class Variant {
public:
    // Empty, and zeroed as a whole: a call that fails may leave it untouched,
    // and VariantClear must then find nothing to free.
    Variant() { VariantInit(&m_value); }
    ~Variant() { VariantClear(&m_value); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    VARIANT* get() { return &m_value; }
    const VARIANT& operator*() const { return m_value; }

    // A copy of `text` as a BSTR; false (and empty) when out of memory.
    bool SetText(const std::wstring& text) {
        VariantClear(&m_value);
        const BSTR copy = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        if (copy == nullptr) return false;
        m_value.vt = VT_BSTR;
        m_value.bstrVal = copy;
        return true;
    }
    void SetLong(LONG number) {
        VariantClear(&m_value);
        m_value.vt = VT_I4;
        m_value.lVal = number;
    }
    // The text, embedded zeros included, when it holds a BSTR.
    std::optional<std::wstring> Text() const {
        if (m_value.vt != VT_BSTR || m_value.bstrVal == nullptr) return std::nullopt;
        return std::wstring(m_value.bstrVal, SysStringLen(m_value.bstrVal));
    }

private:
    VARIANT m_value{};
};

}  // namespace kv::platform::win32
