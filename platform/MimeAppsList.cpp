#include "platform/MimeAppsList.h"

#include <vector>

namespace velmora {

namespace {

constexpr std::string_view kDefaultGroup = "[Default Applications]";

std::string_view TrimSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

bool IsGroupHeader(std::string_view line) {
    return TrimSpaces(line).starts_with('[');
}

bool IsKeyLine(std::string_view line, std::string_view key) {
    const auto equals = line.find('=');
    return equals != std::string_view::npos && TrimSpaces(line.substr(0, equals)) == key;
}

// Index range [begin, end) of the lines inside the group, the header excluded.
struct GroupSpan {
    std::size_t begin = 0;
    std::size_t end = 0;
};

std::optional<GroupSpan> FindDefaultGroup(const std::vector<std::string_view>& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (TrimSpaces(lines[i]) != kDefaultGroup)
            continue;
        std::size_t end = i + 1;
        while (end < lines.size() && !IsGroupHeader(lines[end]))
            ++end;
        return GroupSpan{i + 1, end};
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> DefaultApplication(std::string_view listText, std::string_view mimeType) {
    const auto lines = SplitLines(listText);
    const auto group = FindDefaultGroup(lines);
    if (!group)
        return std::nullopt;
    for (std::size_t i = group->begin; i < group->end; ++i) {
        if (!IsKeyLine(lines[i], mimeType))
            continue;
        const std::string_view value = lines[i].substr(lines[i].find('=') + 1);
        const std::string_view first = TrimSpaces(value.substr(0, value.find(';')));
        if (!first.empty())
            return std::string(first);
    }
    return std::nullopt;
}

std::string WithDefaultApplication(std::string_view listText, std::string_view mimeType,
                                   const std::optional<std::string>& desktopId) {
    auto lines = SplitLines(listText);
    const std::string newLine = desktopId ? std::string(mimeType) + "=" + *desktopId + ";" : std::string();
    const auto group = FindDefaultGroup(lines);
    std::optional<std::size_t> replaceAt;
    std::size_t insertAt = lines.size();
    if (group) {
        insertAt = group->end;
        while (insertAt > group->begin && TrimSpaces(lines[insertAt - 1]).empty())
            --insertAt;
        for (std::size_t i = group->begin; i < group->end && !replaceAt; ++i)
            if (IsKeyLine(lines[i], mimeType))
                replaceAt = i;
    }

    std::string out;
    for (std::size_t i = 0; i <= lines.size(); ++i) {
        if (i == insertAt && !replaceAt && desktopId) {
            if (!group) {
                if (!out.empty() && !out.ends_with("\n\n"))
                    out += '\n';
                out += kDefaultGroup;
                out += '\n';
            }
            out += newLine + '\n';
        }
        if (i == lines.size())
            break;
        if (replaceAt && i == *replaceAt) {
            if (desktopId)
                out += newLine + '\n';
            continue;
        }
        out += lines[i];
        out += '\n';
    }
    return out;
}

} // namespace velmora
