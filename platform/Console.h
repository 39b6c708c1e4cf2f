// Console port: the program's lines on standard output, and its error lines
// on standard error.
#pragma once

#include <string>

namespace kv::platform {

class Console {
public:
    virtual ~Console() = default;
    // Writes the text and a line feed to standard output, then flushes.
    virtual void WriteLine(const std::string& text) = 0;
    // Writes the text and a line feed to standard error, then flushes.
    virtual void WriteErrorLine(const std::string& text) = 0;
};

}  // namespace kv::platform
