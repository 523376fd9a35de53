#include "cue/text/SheetEncoding.h"

#include "cue/text/CodePages.h"
#include "text/Utf8Sequences.h"

#include <algorithm>

namespace velmora {

namespace {

std::u32string FoldedCodePoints(std::string_view utf8) {
    std::u32string folded = LoweredCodePoints(utf8);
    // Final sigma folds to sigma.
    std::replace(folded.begin(), folded.end(), U'\x3C2', U'\x3C3');
    return folded;
}

} // namespace

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
    if (detected && CodePageToUtf8(text, *detected)) {
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
    std::optional<std::string> utf8 = Utf16ToUtf8(bytes.substr(2), encoding == SheetEncoding::Utf16LeWithBom);
    if (!utf8) {
        return std::nullopt;
    }
    return std::pair{encoding, std::move(*utf8)};
}

std::optional<std::string> WriteUtf16(std::string_view utf8, SheetEncoding encoding) {
    std::optional<std::string> bytes = Utf8ToUtf16(utf8, encoding == SheetEncoding::Utf16LeWithBom);
    if (bytes) {
        bytes->insert(0, encoding == SheetEncoding::Utf16LeWithBom ? "\xFF\xFE" : "\xFE\xFF");
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
    return CodePageToUtf8(text, encoding);
}

std::optional<std::string> EncodeFromUtf8(std::string_view utf8, SheetEncoding encoding) {
    return Utf8ToCodePage(utf8, encoding);
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
