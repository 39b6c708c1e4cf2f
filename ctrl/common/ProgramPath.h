// The program's own path at the head of its command line. Every keyword of
// the grammar, the debug switch included, is searched for in the whole line,
// so a path such as D:\John Evans\Tools or C:\Camera On Desk would read as a
// command; masking the path keeps every index of the line as it is and lets
// only the arguments match.
#pragma once

#include <cstddef>
#include <string>

namespace kv::platform {
class Environment;
}

namespace kv::ctrl {

// Length of the program path that heads the line, by the platform's rule for
// the first argument: a token that starts with a quote runs to the next quote
// (included), any other to the first blank or tab. An unquoted line that
// starts with the program's own module path (a caller that did not quote a
// path with blanks) counts that whole path.
std::size_t ProgramPathLength(const std::string& line, const std::string& modulePath);

// The line with its program path replaced, character for character, by a
// character that no keyword, switch or separator of the grammar contains.
std::string MaskProgramPath(const std::string& line, const std::string& modulePath);

// The process's command line with its program path masked: what the debug
// switch and the commands are looked for in.
std::string MaskedCommandLine(const platform::Environment& environment);

}  // namespace kv::ctrl
