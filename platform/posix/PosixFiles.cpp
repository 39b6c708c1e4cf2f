// Files port on POSIX.
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <utility>

#include "platform/posix/PosixAdapters.h"

namespace kv::platform::posix {

namespace {

class PosixTextStream : public TextStream {
public:
    explicit PosixTextStream(std::FILE* file) : m_file(file) {}
    ~PosixTextStream() override { std::fclose(m_file); }
    PosixTextStream(const PosixTextStream&) = delete;
    PosixTextStream& operator=(const PosixTextStream&) = delete;
    void Write(const std::string& text) override { std::fwrite(text.data(), 1, text.size(), m_file); }
    void Flush() override { std::fflush(m_file); }

private:
    std::FILE* m_file;
};

class PosixBinaryFile : public BinaryFile {
public:
    PosixBinaryFile(std::FILE* file, std::string path) : m_file(file), m_path(std::move(path)) {}
    ~PosixBinaryFile() override {
        if (!m_file) return;
        std::fclose(m_file);
        std::remove(m_path.c_str());
    }
    PosixBinaryFile(const PosixBinaryFile&) = delete;
    PosixBinaryFile& operator=(const PosixBinaryFile&) = delete;
    std::size_t Write(const void* data, std::size_t length) override {
        return m_file ? std::fwrite(data, 1, length, m_file) : 0;
    }
    bool Commit() override {
        if (!m_file) return false;
        const bool closed = std::fclose(m_file) == 0;
        m_file = nullptr;
        if (!closed) std::remove(m_path.c_str());
        return closed;
    }

private:
    std::FILE* m_file;
    std::string m_path;
};

}  // namespace

std::unique_ptr<BinaryFile> PosixFiles::CreateBinary(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return nullptr;
    return std::make_unique<PosixBinaryFile>(file, path);
}

bool PosixFiles::Exists(const std::string& path) const {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

bool PosixFiles::IsDirectory(const std::string& path) const {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool PosixFiles::CreateFolder(const std::string& path) { return mkdir(path.c_str(), 0777) == 0; }

std::unique_ptr<TextStream> PosixFiles::OpenTextForWriting(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (!file) return nullptr;
    return std::make_unique<PosixTextStream>(file);
}

}  // namespace kv::platform::posix
