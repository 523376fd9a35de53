#include "platform/MimeAppsList.h"

namespace velmora {

namespace {

std::string_view TrimSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos) {
            break;
        }
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
    std::size_t Begin = 0;
    std::size_t End = 0;
};

std::optional<GroupSpan> FindGroup(const std::vector<std::string_view>& lines, std::string_view group) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (TrimSpaces(lines[i]) != group) {
            continue;
        }
        std::size_t end = i + 1;
        while (end < lines.size() && !IsGroupHeader(lines[end])) {
            ++end;
        }
        return GroupSpan{i + 1, end};
    }
    return std::nullopt;
}

} // namespace

std::vector<std::string> GroupEntry(std::string_view listText, std::string_view group,
                                    std::string_view mimeType) {
    const auto lines = SplitLines(listText);
    const auto span = FindGroup(lines, group);
    std::vector<std::string> ids;
    if (!span) {
        return ids;
    }
    for (std::size_t i = span->Begin; i < span->End; ++i) {
        if (!IsKeyLine(lines[i], mimeType)) {
            continue;
        }
        std::string_view value = lines[i].substr(lines[i].find('=') + 1);
        while (!value.empty()) {
            const auto end = value.find(';');
            const std::string_view id = TrimSpaces(value.substr(0, end));
            if (!id.empty()) {
                ids.emplace_back(id);
            }
            if (end == std::string_view::npos) {
                break;
            }
            value.remove_prefix(end + 1);
        }
        break;
    }
    return ids;
}

std::optional<std::string> DefaultApplication(std::string_view listText, std::string_view mimeType) {
    const auto ids = GroupEntry(listText, kDefaultGroup, mimeType);
    return ids.empty() ? std::nullopt : std::optional<std::string>(ids.front());
}

std::string WithDefaultApplication(std::string_view listText, std::string_view mimeType,
                                   const std::optional<std::string>& desktopId) {
    return WithGroupEntry(listText, kDefaultGroup, mimeType,
                          desktopId ? std::vector<std::string>{*desktopId} : std::vector<std::string>{});
}

std::string WithGroupEntry(std::string_view listText, std::string_view groupName, std::string_view mimeType,
                           const std::vector<std::string>& desktopIds) {
    auto lines = SplitLines(listText);
    const bool set = !desktopIds.empty();
    std::string newLine = std::string(mimeType) + "=";
    for (const std::string& id : desktopIds) {
        newLine += id + ";";
    }
    const auto group = FindGroup(lines, groupName);
    std::optional<std::size_t> replaceAt;
    std::size_t insertAt = lines.size();
    if (group) {
        insertAt = group->End;
        while (insertAt > group->Begin && TrimSpaces(lines[insertAt - 1]).empty()) {
            --insertAt;
        }
        for (std::size_t i = group->Begin; i < group->End && !replaceAt; ++i) {
            if (IsKeyLine(lines[i], mimeType)) {
                replaceAt = i;
            }
        }
    }

    std::string out;
    for (std::size_t i = 0; i <= lines.size(); ++i) {
        if (i == insertAt && !replaceAt && set) {
            if (!group) {
                if (!out.empty() && !out.ends_with("\n\n")) {
                    out += '\n';
                }
                out += groupName;
                out += '\n';
            }
            out += newLine + '\n';
        }
        if (i == lines.size()) {
            break;
        }
        if (replaceAt && i == *replaceAt) {
            if (set) {
                out += newLine + '\n';
            }
            continue;
        }
        out += lines[i];
        out += '\n';
    }
    return out;
}

} // namespace velmora
