#include "cue/SheetEncoding.h"

#include <cerrno>
#include <iconv.h>
#include <locale.h>
#include <uchardet/uchardet.h>
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

// What the character set detector makes of text that is no UTF-8, among the code pages sheets come in.
std::optional<SheetEncoding> DetectedCodePage(std::string_view text) {
    const uchardet_t detector = ::uchardet_new();
    std::optional<SheetEncoding> found;
    if (::uchardet_handle_data(detector, text.data(), text.size()) == 0) {
        ::uchardet_data_end(detector);
        const std::string name = ::uchardet_get_charset(detector);
        if (name == "WINDOWS-1251") {
            found = SheetEncoding::Windows1251;
        } else if (name == "SHIFT_JIS") {
            found = SheetEncoding::ShiftJis;
        } else if (name == "GB18030") {
            found = SheetEncoding::Gb18030;
        } else if (name == "BIG5") {
            found = SheetEncoding::Big5;
        } else if (name == "EUC-KR" || name == "UHC") {
            found = SheetEncoding::Korean;
        }
    }
    ::uchardet_delete(detector);
    return found;
}

std::u32string FoldedCodePoints(std::string_view utf8) {
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
        // Final sigma folds to sigma.
        if (code == 0x3C2) {
            code = 0x3C3;
        }
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
    if (text.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0u) != 0x80u) {
            return 0;
        }
        code = (code << 6) | (next & 0x3Fu);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code >= minimum && code <= 0x10FFFF && !surrogate ? length : 0;
}

bool IsValidUtf8(std::string_view text) {
    while (!text.empty()) {
        std::size_t length = 1;
        if (static_cast<unsigned char>(text[0]) >= 0x80 && (length = Utf8SequenceLength(text)) == 0) {
            return false;
        }
        text.remove_prefix(length);
    }
    return true;
}

SheetEncoding DetectEncoding(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        return SheetEncoding::Utf8WithBom;
    }
    if (IsValidUtf8(text)) {
        return SheetEncoding::Utf8;
    }
    const std::optional<SheetEncoding> detected = DetectedCodePage(text);
    if (detected && Convert(text, IconvName(*detected), "UTF-8")) {
        return *detected;
    }
    return SheetEncoding::Windows1252;
}

bool HeldAsUtf8(SheetEncoding encoding) {
    return encoding == SheetEncoding::Utf8 || encoding == SheetEncoding::Utf8WithBom ||
           encoding == SheetEncoding::Utf16LeWithBom || encoding == SheetEncoding::Utf16BeWithBom;
}

std::optional<std::pair<SheetEncoding, std::string>> ReadUtf16(std::string_view bytes) {
    SheetEncoding encoding;
    if (bytes.substr(0, 2) == "\xFF\xFE") {
        encoding = SheetEncoding::Utf16LeWithBom;
    } else if (bytes.substr(0, 2) == "\xFE\xFF") {
        encoding = SheetEncoding::Utf16BeWithBom;
    } else {
        return std::nullopt;
    }
    const char* name = encoding == SheetEncoding::Utf16LeWithBom ? "UTF-16LE" : "UTF-16BE";
    std::optional<std::string> utf8 = Convert(bytes.substr(2), name, "UTF-8");
    if (!utf8) {
        return std::nullopt;
    }
    return std::pair{encoding, std::move(*utf8)};
}

std::optional<std::string> WriteUtf16(std::string_view utf8, SheetEncoding encoding) {
    const bool little = encoding == SheetEncoding::Utf16LeWithBom;
    std::optional<std::string> bytes = Convert(utf8, "UTF-8", little ? "UTF-16LE" : "UTF-16BE");
    if (bytes) {
        bytes->insert(0, little ? "\xFF\xFE" : "\xFE\xFF");
    }
    return bytes;
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
    case SheetEncoding::Gb18030:
        return "GB18030";
    case SheetEncoding::Big5:
        return "Big5";
    case SheetEncoding::Korean:
        return "EUC-KR";
    case SheetEncoding::Utf16LeWithBom:
        return "UTF-16LE with byte order mark";
    case SheetEncoding::Utf16BeWithBom:
        return "UTF-16BE with byte order mark";
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
    if (IsValidUtf8(name)) {
        return std::string(name);
    }
    return DecodeToUtf8(name, encoding);
}

bool EqualIgnoringCase(std::string_view utf8a, std::string_view utf8b) {
    if (utf8a == utf8b) {
        return true;
    }
    const std::u32string a = FoldedCodePoints(utf8a);
    return !a.empty() && a == FoldedCodePoints(utf8b);
}

} // namespace velmora
