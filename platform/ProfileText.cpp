// Profile-file text: section headers in brackets, "key=value" lines, every
// other line (comments, blank lines, lines without "=") kept but never a key.
#include "platform/ProfileText.h"

#include <algorithm>
#include <vector>

namespace kv::platform {

namespace {

// One line of the text: [begin, end) without its line end, next = start of
// the following line.
struct Line {
    std::size_t begin;
    std::size_t end;
    std::size_t next;
};

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t feed = text.find('\n', begin);
        const std::size_t next = feed == std::string_view::npos ? text.size() : feed + 1;
        std::size_t end = feed == std::string_view::npos ? text.size() : feed;
        if (end > begin && text[end - 1] == '\r') --end;
        lines.push_back({begin, end, next});
        begin = next;
    }
    return lines;
}

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) return false;
    }
    return true;
}

// The section name of a header line, or nothing for any other line.
std::optional<std::string_view> SectionOf(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    const auto close = line.find(']');
    return Trim(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
}

// The key of a "key=value" line, or nothing (comments and lines without "=").
std::optional<std::string_view> KeyOf(std::string_view line) {
    const std::string_view trimmed = Trim(line);
    const auto equals = trimmed.find('=');
    if (trimmed.empty() || trimmed.front() == ';' || equals == std::string_view::npos) return std::nullopt;
    return Trim(trimmed.substr(0, equals));
}

std::string_view ValueOf(std::string_view line) {
    std::string_view value = Trim(line.substr(line.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

// Where a section and a key of it were found, by line index.
struct Place {
    std::optional<std::size_t> header;   // the first section of that name
    std::size_t lastLine = 0;            // its last line that is not blank
    std::optional<std::size_t> keyLine;  // the first line of that key in it
};

Place Find(std::string_view text, const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    Place place;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = text.substr(lines[i].begin, lines[i].end - lines[i].begin);
        if (const auto name = SectionOf(line)) {
            if (place.header) break;  // only the first section of the name counts
            if (SameName(*name, section)) place.header = place.lastLine = i;
            continue;
        }
        if (!place.header) continue;
        if (!Trim(line).empty()) place.lastLine = i;
        const auto found = KeyOf(line);
        if (!place.keyLine && found && SameName(*found, key)) place.keyLine = i;
    }
    return place;
}

// At most bufferSize - 1 bytes, backing off so that a UTF-8 sequence is
// never cut in two.
std::string Cut(std::string_view text, std::size_t bufferSize) {
    if (bufferSize == 0) return {};
    std::size_t length = std::min(text.size(), bufferSize - 1);
    if (length < text.size()) {
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
    }
    return std::string(text.substr(0, length));
}

std::string_view LineEndOf(std::string_view text) {
    const auto feed = text.find('\n');
    return feed != std::string_view::npos && (feed == 0 || text[feed - 1] != '\r') ? "\n" : "\r\n";
}

// What ends an unterminated last line: a carriage return already there
// only needs its line feed (another line end would move the return into the
// line's value).
std::string_view Ending(std::string_view text, std::string_view lineEnd) {
    return !text.empty() && text.back() == '\r' ? "\n" : lineEnd;
}

bool Writable(std::string_view section, std::string_view key, std::string_view value) {
    const auto breaks = [](std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; };
    if (breaks(section) || breaks(key) || breaks(value)) return false;
    if (Trim(section).empty() || section.find(']') != std::string_view::npos) return false;
    const std::string_view name = Trim(key);
    return !name.empty() && name.find('=') == std::string_view::npos && name.front() != ';' && name.front() != '[';
}

}  // namespace

std::string ReadProfileString(std::optional<std::string_view> fileText, std::string_view section, std::string_view key,
                              std::string_view defaultValue, std::size_t bufferSize) {
    if (!fileText) return Cut(defaultValue, bufferSize);
    const std::vector<Line> lines = SplitLines(*fileText);
    const Place place = Find(*fileText, lines, Trim(section), Trim(key));
    if (!place.keyLine) return Cut(defaultValue, bufferSize);
    const Line& line = lines[*place.keyLine];
    return Cut(ValueOf(fileText->substr(line.begin, line.end - line.begin)), bufferSize);
}

std::optional<std::string> WriteProfileString(std::string_view fileText, std::string_view section, std::string_view key,
                                              std::string_view value) {
    if (!Writable(section, key, value)) return std::nullopt;
    const std::vector<Line> lines = SplitLines(fileText);
    const Place place = Find(fileText, lines, Trim(section), Trim(key));
    const std::string_view lineEnd = LineEndOf(fileText);
    std::string text(fileText);
    if (place.keyLine) {
        const Line& line = lines[*place.keyLine];
        const std::string_view old = fileText.substr(line.begin, line.end - line.begin);
        text.replace(line.begin, line.end - line.begin, std::string(*KeyOf(old)) + "=" + std::string(value));
        return text;
    }
    const std::string entry = std::string(Trim(key)) + "=" + std::string(value);
    if (place.header) {
        const Line& last = lines[place.lastLine];
        // A last line without a line feed gets a line end before the new key.
        const bool ended = last.next > 0 && fileText[last.next - 1] == '\n';
        text.insert(last.next, ended ? entry + std::string(lineEnd)
                                     : std::string(Ending(fileText.substr(0, last.next), lineEnd)) + entry);
        return text;
    }
    if (!text.empty() && text.back() != '\n') text += Ending(text, lineEnd);
    text += "[" + std::string(Trim(section)) + "]" + std::string(lineEnd) + entry + std::string(lineEnd);
    return text;
}

}  // namespace kv::platform
