// Files port: existence checks, folder creation and the shared text-mode
// stream that the debug log writes to.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace kv::platform {

// A file opened for writing in text mode, shared for reading and writing
// with other openers. Text is UTF-8; the adapter converts line ends and the
// character set the way the platform's text mode does.
class TextStream {
public:
    virtual ~TextStream() = default;
    virtual void Write(const std::string& text) = 0;
    virtual void Flush() = 0;
};

// A file created anew for binary writing. Unless Commit succeeds, the file
// is removed when the object goes, so that an interrupted write never leaves
// a file that looks complete.
class BinaryFile {
public:
    virtual ~BinaryFile() = default;
    // Returns the number of bytes written.
    virtual std::size_t Write(const void* data, std::size_t length) = 0;
    // Closes the file and keeps it; false when closing failed (the file is
    // then removed).
    virtual bool Commit() = 0;
};

class Files {
public:
    virtual ~Files() = default;
    virtual char Separator() const = 0;
    virtual bool Exists(const std::string& path) const = 0;
    virtual bool IsDirectory(const std::string& path) const = 0;
    // Creates one folder whose parent exists; false when it cannot.
    virtual bool CreateFolder(const std::string& path) = 0;
    // Opens with truncation; null when the file cannot be opened.
    virtual std::unique_ptr<TextStream> OpenTextForWriting(const std::string& path) = 0;
    // Creates (or truncates) a file for writing, shared for writing with
    // other openers; null when it cannot be created.
    virtual std::unique_ptr<BinaryFile> CreateBinary(const std::string& path) = 0;
};

}  // namespace kv::platform
