#include "cue/text/CodePages.h"

#include <array>
#include <windows.h>

namespace velmora {
namespace {

constexpr UINT kGbk = 936;
constexpr UINT kGb18030 = 54936;

UINT CodePageOf(SheetEncoding encoding) {
    switch (encoding) {
    case SheetEncoding::Windows1252:
        return 1252;
    case SheetEncoding::Windows1251:
        return 1251;
    case SheetEncoding::ShiftJis:
        return 932;
    case SheetEncoding::Gb18030:
        // Wine has no GB18030 code page; its two-byte part is GBK, which covers the common text.
        return IsValidCodePage(kGb18030) ? kGb18030 : kGbk;
    case SheetEncoding::Big5:
        return 950;
    case SheetEncoding::Korean:
        return 949;
    default:
        return CP_UTF8;
    }
}

std::optional<std::wstring> ToWide(std::string_view text, UINT codePage) {
    if (text.empty()) {
        return std::wstring();
    }
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (length == 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), length);
    return wide;
}

std::optional<std::string> FromWide(std::wstring_view wide, UINT codePage) {
    if (wide.empty()) {
        return std::string();
    }
    // UTF-8 and GB18030 hold every character; the others must not put a look-alike in its place.
    const bool whole = codePage == CP_UTF8 || codePage == kGb18030;
    const DWORD flags = codePage == CP_UTF8 ? WC_ERR_INVALID_CHARS : whole ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* checkDefault = whole ? nullptr : &usedDefault;
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, checkDefault);
    if (length == 0 || usedDefault) {
        return std::nullopt;
    }
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, flags, wide.data(), size, text.data(), length, nullptr, checkDefault);
    return text;
}

bool InRange(wchar_t c, wchar_t first, wchar_t last) {
    return c >= first && c <= last;
}

bool IsAsciiLetter(wchar_t c) {
    return InRange(c, L'a', L'z') || InRange(c, L'A', L'Z');
}

// True when the character lies in the code page's common two-byte set, whose bytes both lie from 0xA1
// up: GB2312 in GBK, KS X 1001 in Korean's Windows code page.
bool InCommonSet(wchar_t c, UINT codePage) {
    const std::optional<std::string> bytes = FromWide(std::wstring_view(&c, 1), codePage);
    return bytes && bytes->size() == 2 && static_cast<unsigned char>((*bytes)[0]) >= 0xA1 &&
           static_cast<unsigned char>((*bytes)[1]) >= 0xA1;
}

// What one character, read in the encoding, says for it: letters of the language written in it count
// for it (a point a byte), characters its writers seldom use against it. `startsWord` tells whether the
// character follows no letter.
int CharacterLikeness(wchar_t c, bool startsWord, SheetEncoding encoding) {
    if (InRange(c, 0x80, 0x9F) || InRange(c, 0xE000, 0xF8FF) || InRange(c, 0xFF61, 0xFF9F)) {
        return -3;
    }
    const bool ideograph = InRange(c, 0x4E00, 0x9FFF);
    switch (encoding) {
    case SheetEncoding::Windows1251:
        // Russian is mostly small letters; a capital starts its word.
        if (InRange(c, 0x430, 0x44F)) {
            return 1;
        }
        if (InRange(c, 0x410, 0x42F)) {
            return startsWord ? 1 : -1;
        }
        return InRange(c, 0x400, 0x4FF) ? -2 : 0;
    case SheetEncoding::ShiftJis:
        return InRange(c, 0x3040, 0x30FF) || ideograph ? 2 : 0;
    case SheetEncoding::Gb18030:
        // Mainland text keeps to the common GB2312 set, whose two bytes both lie from 0xA1 up.
        return InCommonSet(c, kGbk) ? 2 : -1;
    case SheetEncoding::Big5:
        return ideograph ? 2 : 0;
    case SheetEncoding::Korean:
        // Korean text keeps to the 2350 syllables of KS X 1001; the others of its Windows code page are
        // what Shift-JIS and Big5 pairs read as.
        if (InRange(c, 0xAC00, 0xD7A3)) {
            return InCommonSet(c, CodePageOf(SheetEncoding::Korean)) ? 3 : -1;
        }
        return ideograph ? -2 : 0;
    default:
        return 0;
    }
}

// How much the text, read in the encoding, looks like the language written in it; nothing when it does
// not read. A lone character between Latin letters is an accented Western letter read in the wrong code
// page (as "Bj\xF6rk" would be), so it counts against.
std::optional<int> Likeness(std::string_view text, SheetEncoding encoding) {
    const std::optional<std::wstring> wide = ToWide(text, CodePageOf(encoding));
    if (!wide) {
        return std::nullopt;
    }
    int score = 0;
    std::size_t i = 0;
    while (i < wide->size()) {
        if ((*wide)[i] < 0x80) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < wide->size() && (*wide)[end] >= 0x80) {
            ++end;
        }
        const bool besideLatin =
            (i > 0 && IsAsciiLetter((*wide)[i - 1])) || (end < wide->size() && IsAsciiLetter((*wide)[end]));
        if (end - i == 1 && besideLatin) {
            score -= 2;
        } else {
            for (std::size_t k = i; k < end; ++k) {
                score += CharacterLikeness((*wide)[k], k == i, encoding);
            }
        }
        i = end;
    }
    return score;
}

} // namespace

std::optional<std::string> CodePageToUtf8(std::string_view text, SheetEncoding encoding) {
    const std::optional<std::wstring> wide = ToWide(text, CodePageOf(encoding));
    return wide ? FromWide(*wide, CP_UTF8) : std::nullopt;
}

std::optional<std::string> Utf8ToCodePage(std::string_view utf8, SheetEncoding encoding) {
    const std::optional<std::wstring> wide = ToWide(utf8, CP_UTF8);
    return wide ? FromWide(*wide, CodePageOf(encoding)) : std::nullopt;
}

std::optional<std::string> Utf16ToUtf8(std::string_view bytes, bool littleEndian) {
    if (bytes.size() % 2 != 0) {
        return std::nullopt;
    }
    std::wstring wide(bytes.size() / 2, L'\0');
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        wide[i] = static_cast<wchar_t>(littleEndian ? first | second << 8 : first << 8 | second);
    }
    return FromWide(wide, CP_UTF8);
}

std::optional<std::string> Utf8ToUtf16(std::string_view utf8, bool littleEndian) {
    const std::optional<std::wstring> wide = ToWide(utf8, CP_UTF8);
    if (!wide) {
        return std::nullopt;
    }
    std::string bytes;
    bytes.reserve(wide->size() * 2);
    for (const wchar_t c : *wide) {
        const auto low = static_cast<char>(c & 0xFF);
        const auto high = static_cast<char>((c >> 8) & 0xFF);
        bytes += littleEndian ? low : high;
        bytes += littleEndian ? high : low;
    }
    return bytes;
}

std::optional<SheetEncoding> DetectedCodePage(std::string_view text) {
    // In the order that wins a tie.
    constexpr std::array kCandidates = {SheetEncoding::Windows1251, SheetEncoding::ShiftJis,
                                        SheetEncoding::Gb18030, SheetEncoding::Big5, SheetEncoding::Korean};
    std::optional<SheetEncoding> best;
    int bestScore = 0;
    for (const SheetEncoding encoding : kCandidates) {
        const std::optional<int> score = Likeness(text, encoding);
        if (score && *score > bestScore) {
            best = encoding;
            bestScore = *score;
        }
    }
    return best;
}

std::u32string LoweredCodePoints(std::string_view utf8) {
    std::optional<std::wstring> wide = ToWide(utf8, CP_UTF8);
    std::u32string lowered;
    if (!wide) {
        return lowered;
    }
    if (!wide->empty()) {
        CharLowerBuffW(wide->data(), static_cast<DWORD>(wide->size()));
    }
    for (std::size_t i = 0; i < wide->size(); ++i) {
        const char32_t unit = (*wide)[i];
        if (InRange(static_cast<wchar_t>(unit), 0xD800, 0xDBFF) && i + 1 < wide->size()) {
            lowered += 0x10000 + ((unit - 0xD800) << 10) + (static_cast<char32_t>((*wide)[i + 1]) - 0xDC00);
            ++i;
        } else {
            lowered += unit;
        }
    }
    return lowered;
}

} // namespace velmora
