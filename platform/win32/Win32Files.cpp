// Files port on Windows. The log stream is a CRT text-mode stream shared with
// every other opener, so line feeds reach the file as CR LF and text is
// written in the process's ANSI code page.
#include <share.h>
#include <windows.h>

#include <cstdio>

#include "platform/win32/Win32Adapters.h"
#include "platform/win32/WideText.h"

namespace kv::platform::win32 {

namespace {

class Win32TextStream : public TextStream {
public:
    explicit Win32TextStream(std::FILE* file) : m_file(file) {}
    ~Win32TextStream() override { std::fclose(m_file); }
    Win32TextStream(const Win32TextStream&) = delete;
    Win32TextStream& operator=(const Win32TextStream&) = delete;
    void Write(const std::string& text) override {
        const std::string ansi = ToAnsi(text);
        std::fwrite(ansi.data(), 1, ansi.size(), m_file);
    }
    void Flush() override { std::fflush(m_file); }

private:
    std::FILE* m_file;
};

}  // namespace

bool Win32Files::Exists(const std::string& path) const {
    return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32Files::IsDirectory(const std::string& path) const {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32Files::CreateFolder(const std::string& path) {
    return CreateDirectoryW(Widen(path).c_str(), nullptr) != FALSE;
}

std::unique_ptr<TextStream> Win32Files::OpenTextForWriting(const std::string& path) {
    std::FILE* file = _wfsopen(Widen(path).c_str(), L"wt", _SH_DENYNO);
    if (!file) return nullptr;
    return std::make_unique<Win32TextStream>(file);
}

}  // namespace kv::platform::win32
