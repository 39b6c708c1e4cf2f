// Fuzz target: any bytes as a settings file (huge lines, no sections, binary
// bytes, duplicate keys). Reading never fails, and a key written into the
// file reads back as written while every other section reads as before.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/ProfileText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using kv::platform::ReadProfileString;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string other = ReadProfileString(text, "Other", "3A1E", "-", 64);
    const std::string cut = ReadProfileString(text, "Tn21", "022e", "0", 5);
    if (cut.size() > 4) std::abort();

    const auto written = kv::platform::WriteProfileString(text, "Tn21", "0237", "0155");
    if (!written) std::abort();  // valid names are always written
    if (ReadProfileString(*written, "tn21", "0237", "0", 5) != "0155") std::abort();
    if (ReadProfileString(*written, "Other", "3A1E", "-", 64) != other) std::abort();
    return 0;
}
