// Files port on Windows. The log stream is a CRT text-mode stream shared with
// every other opener, so line feeds reach the file as CR LF and text is
// written in the process's ANSI code page.
#include <share.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <utility>

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

// Written through the platform's file handle, shared for writing as the
// still writer always opened it.
class Win32BinaryFile : public BinaryFile {
public:
    Win32BinaryFile(HANDLE file, std::wstring path) : m_file(file), m_path(std::move(path)) {}
    ~Win32BinaryFile() override {
        if (m_file == INVALID_HANDLE_VALUE) return;
        CloseHandle(m_file);
        DeleteFileW(m_path.c_str());
    }
    Win32BinaryFile(const Win32BinaryFile&) = delete;
    Win32BinaryFile& operator=(const Win32BinaryFile&) = delete;
    std::size_t Write(const void* data, std::size_t length) override {
        std::size_t done = 0;
        while (m_file != INVALID_HANDLE_VALUE && done < length) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(length - done, 1u << 30));
            DWORD written = 0;
            if (!WriteFile(m_file, static_cast<const char*>(data) + done, chunk, &written, nullptr) || written == 0)
                break;
            done += written;
        }
        return done;
    }
    bool Commit() override {
        if (m_file == INVALID_HANDLE_VALUE) return false;
        const bool closed = CloseHandle(m_file) != FALSE;
        m_file = INVALID_HANDLE_VALUE;
        if (!closed) DeleteFileW(m_path.c_str());
        return closed;
    }

private:
    HANDLE m_file;
    std::wstring m_path;
};

}  // namespace

std::unique_ptr<BinaryFile> Win32Files::CreateBinary(const std::string& path) {
    std::wstring wide = Widen(path);
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32BinaryFile>(file, std::move(wide));
}

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
