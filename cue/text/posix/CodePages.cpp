#include "cue/text/CodePages.h"

#include "cue/text/posix/CharsetDetector.h"

#include <cerrno>
#include <iconv.h>
#include <locale.h>
#include <wctype.h>

namespace velmora {
namespace {

const char* IconvName(SheetEncoding encoding) {
    switch (encoding) {
    case SheetEncoding::Windows1252:
        return "CP1252";
    case SheetEncoding::Windows1251:
        return "CP1251";
    case SheetEncoding::ShiftJis:
        return "CP932";
    case SheetEncoding::Gb18030:
        return "GB18030";
    case SheetEncoding::Big5:
        return "BIG5-HKSCS";
    case SheetEncoding::Korean:
        return "CP949";
    default:
        return "UTF-8";
    }
}

std::optional<std::string> Convert(std::string_view text, const char* from, const char* to) {
    const iconv_t converter = ::iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    std::string input(text);
    std::string output(text.size() * 4 + 16, '\0');
    char* in = input.data();
    std::size_t inLeft = input.size();
    char* out = output.data();
    std::size_t outLeft = output.size();
    const std::size_t result = ::iconv(converter, &in, &inLeft, &out, &outLeft);
    ::iconv_close(converter);
    if (result == static_cast<std::size_t>(-1) || result != 0) {
        return std::nullopt;
    }
    output.resize(output.size() - outLeft);
    return output;
}

} // namespace

std::optional<SheetEncoding> DetectedCodePage(std::string_view text) {
    const std::optional<std::string> name = DetectCharsetName(text);
    if (!name) {
        return std::nullopt;
    }
    if (*name == "WINDOWS-1251") {
        return SheetEncoding::Windows1251;
    }
    if (*name == "SHIFT_JIS") {
        return SheetEncoding::ShiftJis;
    }
    if (*name == "GB18030") {
        return SheetEncoding::Gb18030;
    }
    if (*name == "BIG5") {
        return SheetEncoding::Big5;
    }
    if (*name == "EUC-KR" || *name == "UHC") {
        return SheetEncoding::Korean;
    }
    return std::nullopt;
}

std::u32string LoweredCodePoints(std::string_view utf8) {
    static const locale_t unicode = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    std::u32string folded;
    const std::optional<std::string> wide = Convert(utf8, "UTF-8", "UTF-32LE");
    if (!wide) {
        return folded;
    }
    for (std::size_t i = 0; i + 3 < wide->size(); i += 4) {
        char32_t code = 0;
        for (int b = 3; b >= 0; --b) {
            code = (code << 8) | static_cast<unsigned char>((*wide)[i + static_cast<std::size_t>(b)]);
        }
        if (unicode != static_cast<locale_t>(nullptr)) {
            code = static_cast<char32_t>(::towlower_l(static_cast<wint_t>(code), unicode));
        }
        folded += code;
    }
    return folded;
}

std::optional<std::string> CodePageToUtf8(std::string_view text, SheetEncoding encoding) {
    return Convert(text, IconvName(encoding), "UTF-8");
}

std::optional<std::string> Utf8ToCodePage(std::string_view utf8, SheetEncoding encoding) {
    return Convert(utf8, "UTF-8", IconvName(encoding));
}

std::optional<std::string> Utf16ToUtf8(std::string_view bytes, bool littleEndian) {
    return Convert(bytes, littleEndian ? "UTF-16LE" : "UTF-16BE", "UTF-8");
}

std::optional<std::string> Utf8ToUtf16(std::string_view utf8, bool littleEndian) {
    return Convert(utf8, "UTF-8", littleEndian ? "UTF-16LE" : "UTF-16BE");
}

} // namespace velmora
