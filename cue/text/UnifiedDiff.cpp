#include "cue/text/UnifiedDiff.h"

#include <algorithm>
#include <vector>

namespace velmora {
namespace {

constexpr std::size_t kContext = 3;

// Lines end at LF and keep their line break, a CR before it included, so that a change of line breaks
// shows as a change of the line, as patch sees it.
std::vector<std::string_view> LinesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t lineFeed = text.find('\n', start);
        const std::size_t end = lineFeed == std::string_view::npos ? text.size() : lineFeed + 1;
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

enum class Op { Keep, Remove, Add };

constexpr std::size_t kSearchWindow = 32;

// A short edit script found by resynchronising after each difference within a window of lines. Repairs
// replace lines in place or insert one, which this finds exactly, and the work stays linear however
// many lines change.
std::vector<Op> EditScript(const std::vector<std::string_view>& a, const std::vector<std::string_view>& b) {
    std::vector<Op> ops;
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() || j < b.size()) {
        if (i < a.size() && j < b.size() && a[i] == b[j]) {
            ops.push_back(Op::Keep);
            ++i;
            ++j;
            continue;
        }
        std::size_t skipA = a.size() - i;
        std::size_t skipB = b.size() - j;
        bool found = false;
        for (std::size_t steps = 1; steps <= 2 * kSearchWindow && !found; ++steps) {
            for (std::size_t di = 0; di <= steps && !found; ++di) {
                const std::size_t dj = steps - di;
                if (i + di < a.size() && j + dj < b.size() && a[i + di] == b[j + dj]) {
                    skipA = di;
                    skipB = dj;
                    found = true;
                }
            }
        }
        if (!found && i < a.size() && j < b.size()) {
            skipA = 1;
            skipB = 1;
        }
        ops.insert(ops.end(), skipA, Op::Remove);
        ops.insert(ops.end(), skipB, Op::Add);
        i += skipA;
        j += skipB;
    }
    return ops;
}

std::string Range(std::size_t start, std::size_t count) {
    // An empty range names the line before it, as diff does.
    const std::size_t first = count == 0 ? start : start + 1;
    std::string range = std::to_string(first);
    if (count != 1) {
        range += ',';
        range += std::to_string(count);
    }
    return range;
}

} // namespace

std::string UnifiedDiff(std::string_view before, std::string_view after, std::string_view beforeLabel,
                        std::string_view afterLabel) {
    const std::vector<std::string_view> a = LinesOf(before);
    const std::vector<std::string_view> b = LinesOf(after);
    const std::vector<Op> ops = EditScript(a, b);
    if (std::all_of(ops.begin(), ops.end(), [](Op op) { return op == Op::Keep; })) {
        return {};
    }

    std::string out = "--- " + std::string(beforeLabel) + "\n+++ " + std::string(afterLabel) + "\n";
    std::size_t i = 0;
    while (i < ops.size()) {
        if (ops[i] == Op::Keep) {
            ++i;
            continue;
        }
        // A hunk runs from context before the first change to context after the last change that is
        // not separated from the next by more than twice the context.
        std::size_t end = i;
        std::size_t keeps = 0;
        for (std::size_t j = i; j < ops.size(); ++j) {
            if (ops[j] == Op::Keep) {
                if (++keeps > 2 * kContext) {
                    break;
                }
            } else {
                keeps = 0;
                end = j + 1;
            }
        }
        const std::size_t start = i >= kContext ? i - kContext : 0;
        const std::size_t stop = std::min(ops.size(), end + kContext);
        std::size_t ai = 0;
        std::size_t bi = 0;
        for (std::size_t j = 0; j < start; ++j) {
            ai += ops[j] != Op::Add ? 1 : 0;
            bi += ops[j] != Op::Remove ? 1 : 0;
        }
        std::string body;
        std::size_t aCount = 0;
        std::size_t bCount = 0;
        const auto append = [&body](char mark, std::string_view line) {
            body += mark;
            body += line;
            if (line.empty() || line.back() != '\n') {
                body += "\n\\ No newline at end of file\n";
            }
        };
        for (std::size_t j = start; j < stop; ++j) {
            switch (ops[j]) {
            case Op::Keep:
                append(' ', a[ai + aCount]);
                ++aCount;
                ++bCount;
                break;
            case Op::Remove:
                append('-', a[ai + aCount]);
                ++aCount;
                break;
            case Op::Add:
                append('+', b[bi + bCount]);
                ++bCount;
                break;
            }
        }
        out += "@@ -" + Range(ai, aCount) + " +" + Range(bi, bCount) + " @@\n" + body;
        i = stop;
    }
    return out;
}

} // namespace velmora
