#include "EncodedText.h"

#include <map>
#include <stdexcept>
#include <windows.h>

namespace velmora::fix {

std::string Encoded(const std::string& utf8, const std::string& encoding, const testkit::TempFolder&) {
    const bool bom = encoding.size() > 4 && encoding.compare(encoding.size() - 4, 4, "+BOM") == 0;
    const std::string name = bom ? encoding.substr(0, encoding.size() - 4) : encoding;
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                                             static_cast<int>(utf8.size()), wide.data(),
                                                             static_cast<int>(wide.size()))));
    if (name == "UTF-16LE" || name == "UTF-16BE") {
        std::string bytes = bom ? (name == "UTF-16LE" ? "\xFF\xFE" : "\xFE\xFF") : "";
        for (const wchar_t c : wide) {
            const char low = static_cast<char>(c & 0xFF);
            const char high = static_cast<char>((c >> 8) & 0xFF);
            bytes += name == "UTF-16LE" ? low : high;
            bytes += name == "UTF-16LE" ? high : low;
        }
        return bytes;
    }
    static const std::map<std::string, UINT> codePages = {
        {"UTF-8", CP_UTF8}, {"CP1252", 1252},   {"ISO-8859-1", 28591}, {"CP1251", 1251},
        {"SHIFT_JIS", 932}, {"GB18030", 54936}, {"BIG5", 950},         {"EUC-KR", 949},
    };
    const auto found = codePages.find(name);
    if (found == codePages.end()) {
        throw std::runtime_error("no code page for " + encoding);
    }
    // Wine has no GB18030 code page (nor EUC-KR's own, whose Hangul the 949 one writes alike): the text
    // here lies in GBK, which writes it the same.
    const UINT codePage = IsValidCodePage(found->second) ? found->second : 936;
    std::string bytes(wide.size() * 4, '\0');
    bytes.resize(static_cast<std::size_t>(
        WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(),
                            static_cast<int>(bytes.size()), nullptr, nullptr)));
    if (bytes.empty() && !wide.empty()) {
        throw std::runtime_error("Windows cannot write " + encoding);
    }
    return bom && name == "UTF-8" ? "\xEF\xBB\xBF" + bytes : bytes;
}

} // namespace velmora::fix
