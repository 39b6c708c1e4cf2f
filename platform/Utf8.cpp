// Portable UTF-8 <-> wide conversions.
#include "platform/Utf8.h"

namespace kv::platform {

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr bool kWideIsUtf16 = sizeof(wchar_t) == 2;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// One code point from `text` at `at`, which moves past it; a malformed,
// overlong or surrogate sequence gives U+FFFD and skips one byte.
char32_t DecodeUtf8(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    char32_t point = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        ++at;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, point = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, point = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, point = lead & 0x07, minimum = 0x10000;
    } else {
        ++at;
        return kReplacement;
    }
    if (at + length > text.size()) {
        ++at;
        return kReplacement;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[at + i]);
        if (!IsContinuation(byte)) {
            ++at;
            return kReplacement;
        }
        point = (point << 6) | (byte & 0x3F);
    }
    if (point < minimum || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
        ++at;
        return kReplacement;
    }
    at += length;
    return point;
}

void AppendWide(std::wstring& wide, char32_t point) {
    if (kWideIsUtf16 && point >= 0x10000) {
        point -= 0x10000;
        wide.push_back(static_cast<wchar_t>(0xD800 + (point >> 10)));
        wide.push_back(static_cast<wchar_t>(0xDC00 + (point & 0x3FF)));
    } else {
        wide.push_back(static_cast<wchar_t>(point));
    }
}

// One code point from `text` at `at`; an unpaired surrogate gives U+FFFD.
char32_t DecodeWide(std::wstring_view text, std::size_t& at) {
    const auto unit = static_cast<char32_t>(text[at++]);
    if (unit >= 0xD800 && unit <= 0xDBFF && kWideIsUtf16 && at < text.size()) {
        const auto low = static_cast<char32_t>(text[at]);
        if (low >= 0xDC00 && low <= 0xDFFF) {
            ++at;
            return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        }
    }
    if ((unit >= 0xD800 && unit <= 0xDFFF) || unit > 0x10FFFF) return kReplacement;
    return unit;
}

void AppendUtf8(std::string& utf8, char32_t point) {
    if (point < 0x80) {
        utf8.push_back(static_cast<char>(point));
    } else if (point < 0x800) {
        utf8.push_back(static_cast<char>(0xC0 | (point >> 6)));
        utf8.push_back(static_cast<char>(0x80 | (point & 0x3F)));
    } else if (point < 0x10000) {
        utf8.push_back(static_cast<char>(0xE0 | (point >> 12)));
        utf8.push_back(static_cast<char>(0x80 | ((point >> 6) & 0x3F)));
        utf8.push_back(static_cast<char>(0x80 | (point & 0x3F)));
    } else {
        utf8.push_back(static_cast<char>(0xF0 | (point >> 18)));
        utf8.push_back(static_cast<char>(0x80 | ((point >> 12) & 0x3F)));
        utf8.push_back(static_cast<char>(0x80 | ((point >> 6) & 0x3F)));
        utf8.push_back(static_cast<char>(0x80 | (point & 0x3F)));
    }
}

}  // namespace

std::wstring Utf8ToWide(std::string_view utf8) {
    std::wstring wide;
    wide.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) AppendWide(wide, DecodeUtf8(utf8, at));
    return wide;
}

std::string WideToUtf8(std::wstring_view wide) {
    std::string utf8;
    utf8.reserve(wide.size());
    for (std::size_t at = 0; at < wide.size();) AppendUtf8(utf8, DecodeWide(wide, at));
    return utf8;
}

}  // namespace kv::platform
