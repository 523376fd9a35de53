#include "SheetEncoding.h"

#include <cerrno>
#include <iconv.h>
#include <locale.h>
#include <wctype.h>

namespace velmora {
namespace {

bool IsCyrillicLetter1251(unsigned char c) {
    return c >= 0xC0 || c == 0xA8 || c == 0xB8;
}

bool IsShiftJisLead(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

bool IsShiftJisTrail(unsigned char c) {
    return c >= 0x40 && c <= 0xFC && c != 0x7F;
}

// Well-formed Shift-JIS whose double-byte characters mostly start in 0x81-0x9F, where kana and the
// common kanji lie; Cyrillic or accented Latin text almost never does.
bool LooksLikeShiftJis(std::string_view text) {
    std::size_t pairs = 0;
    std::size_t lowLeads = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80 || (c >= 0xA1 && c <= 0xDF))
            continue;
        if (!IsShiftJisLead(c) || i + 1 >= text.size() ||
            !IsShiftJisTrail(static_cast<unsigned char>(text[i + 1])))
            return false;
        ++pairs;
        if (c <= 0x9F)
            ++lowLeads;
        ++i;
    }
    return pairs > 0 && lowLeads * 2 >= pairs;
}

// Russian and its neighbours write whole words in 0xC0-0xFF; Western text has a lone accented letter
// here and there.
bool LooksLikeWindows1251(std::string_view text) {
    std::size_t high = 0;
    std::size_t inRuns = 0;
    std::size_t run = 0;
    auto endRun = [&] {
        if (run >= 3)
            inRuns += run;
        run = 0;
    };
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x80)
            ++high;
        if (IsCyrillicLetter1251(c))
            ++run;
        else
            endRun();
    }
    endRun();
    return high > 0 && inRuns * 5 >= high * 3;
}

const char* IconvName(SheetEncoding encoding) {
    switch (encoding) {
    case SheetEncoding::Windows1252:
        return "CP1252";
    case SheetEncoding::Windows1251:
        return "CP1251";
    case SheetEncoding::ShiftJis:
        return "CP932";
    default:
        return "UTF-8";
    }
}

std::optional<std::string> Convert(std::string_view text, const char* from, const char* to) {
    const iconv_t converter = ::iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string input(text);
    std::string output(text.size() * 4 + 16, '\0');
    char* in = input.data();
    std::size_t inLeft = input.size();
    char* out = output.data();
    std::size_t outLeft = output.size();
    const std::size_t result = ::iconv(converter, &in, &inLeft, &out, &outLeft);
    ::iconv_close(converter);
    if (result == static_cast<std::size_t>(-1) || result != 0)
        return std::nullopt;
    output.resize(output.size() - outLeft);
    return output;
}

std::u32string FoldedCodePoints(std::string_view utf8) {
    static const locale_t unicode = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    std::u32string folded;
    const std::optional<std::string> wide = Convert(utf8, "UTF-8", "UTF-32LE");
    if (!wide)
        return folded;
    for (std::size_t i = 0; i + 3 < wide->size(); i += 4) {
        char32_t code = 0;
        for (int b = 3; b >= 0; --b)
            code = (code << 8) | static_cast<unsigned char>((*wide)[i + static_cast<std::size_t>(b)]);
        if (unicode != static_cast<locale_t>(nullptr))
            code = static_cast<char32_t>(::towlower_l(static_cast<wint_t>(code), unicode));
        // Final sigma folds to sigma.
        if (code == 0x3C2)
            code = 0x3C3;
        folded += code;
    }
    return folded;
}

} // namespace

std::size_t Utf8SequenceLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 0;
    char32_t minimum = 0;
    char32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        minimum = 0x80;
        code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        minimum = 0x800;
        code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        minimum = 0x10000;
        code = lead & 0x07u;
    } else {
        return 0;
    }
    if (text.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0u) != 0x80u)
            return 0;
        code = (code << 6) | (next & 0x3Fu);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code >= minimum && code <= 0x10FFFF && !surrogate ? length : 0;
}

bool IsValidUtf8(std::string_view text) {
    while (!text.empty()) {
        std::size_t length = 1;
        if (static_cast<unsigned char>(text[0]) >= 0x80 && (length = Utf8SequenceLength(text)) == 0)
            return false;
        text.remove_prefix(length);
    }
    return true;
}

SheetEncoding DetectEncoding(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        return SheetEncoding::Utf8WithBom;
    if (IsValidUtf8(text))
        return SheetEncoding::Utf8;
    if (LooksLikeShiftJis(text))
        return SheetEncoding::ShiftJis;
    if (LooksLikeWindows1251(text))
        return SheetEncoding::Windows1251;
    return SheetEncoding::Windows1252;
}

const char* EncodingName(SheetEncoding encoding) {
    switch (encoding) {
    case SheetEncoding::Utf8WithBom:
        return "UTF-8 with byte order mark";
    case SheetEncoding::Utf8:
        return "UTF-8";
    case SheetEncoding::Windows1252:
        return "Windows-1252";
    case SheetEncoding::Windows1251:
        return "Windows-1251";
    case SheetEncoding::ShiftJis:
        return "Shift-JIS";
    }
    return "";
}

std::optional<std::string> DecodeToUtf8(std::string_view text, SheetEncoding encoding) {
    return Convert(text, IconvName(encoding), "UTF-8");
}

std::optional<std::string> EncodeFromUtf8(std::string_view utf8, SheetEncoding encoding) {
    return Convert(utf8, "UTF-8", IconvName(encoding));
}

std::optional<std::string> DiskNameToUtf8(std::string_view name, SheetEncoding encoding) {
    if (IsValidUtf8(name))
        return std::string(name);
    return DecodeToUtf8(name, encoding);
}

bool EqualIgnoringCase(std::string_view utf8a, std::string_view utf8b) {
    if (utf8a == utf8b)
        return true;
    const std::u32string a = FoldedCodePoints(utf8a);
    return !a.empty() && a == FoldedCodePoints(utf8b);
}

} // namespace velmora
