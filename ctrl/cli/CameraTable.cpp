// The camera table and the product-id rule.
#include "ctrl/cli/CameraTable.h"

#include "ctrl/common/Text.h"

namespace kv::ctrl {

namespace {
const CameraEntry kEmptyEntry{};
}

bool CameraTable::Add(const std::string& lowerDevicePath) {
    if (m_count >= kCapacity) return false;
    m_entries[static_cast<std::size_t>(m_count)] = {InstanceFromDevicePath(lowerDevicePath),
                                                    PathTailFromDevicePath(lowerDevicePath)};
    ++m_count;
    return true;
}

const CameraEntry& CameraTable::at(int position) const {
    if (position < 0 || position >= m_count) return kEmptyEntry;
    return m_entries[static_cast<std::size_t>(position)];
}

std::string InstanceFromDevicePath(const std::string& path) {
    const int end = Find(path, "#{");
    std::string instance = end >= 0 ? Mid(path, 8, end - 8) : Mid(path, 8);
    for (char& c : instance) {
        if (c == '#') c = '\\';
    }
    return instance;
}

std::string PathTailFromDevicePath(const std::string& path) { return Mid(path, 21); }

std::string PidText(const std::string& text) {
    const int at = Find(text, "pid_", 1);
    return at < 0 ? std::string() : Mid(text, at + 4, 4);
}

int ProductIdFromPidText(const std::string& sPid) { return static_cast<int>(HexPrefix("0x" + sPid)); }

}  // namespace kv::ctrl
