// The P809 command-line tool, started hidden through the command
// interpreter; nothing waits for it or reads its answer.
#pragma once

#include <string>

#include "platform/Processes.h"

namespace kv::ctrl {

class P809Tool {
public:
    explicit P809Tool(platform::Processes& processes) : m_processes(processes) {}
    int P809_Read(const std::string& regText, const std::string& secondText);
    int P809_Write(const std::string& regText, const std::string& valueText);

private:
    platform::Processes& m_processes;
};

}  // namespace kv::ctrl
