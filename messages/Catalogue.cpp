#include "messages/Catalogue.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>

namespace velmora {

namespace {

constexpr std::uint32_t kMagic = 0x950412de;
constexpr std::uint32_t kSwappedMagic = 0xde120495;

class CatalogueBytes {
public:
    CatalogueBytes(std::string_view bytes, bool swapped) : bytes_(bytes), swapped_(swapped) {}

    std::optional<std::uint32_t> Word(std::size_t offset) const {
        if (offset > bytes_.size() || bytes_.size() - offset < 4)
            return std::nullopt;
        std::uint32_t value = 0;
        for (int at = 0; at < 4; ++at) {
            const auto byte = static_cast<std::uint8_t>(bytes_[offset + (swapped_ ? at : 3 - at)]);
            value = (value << 8) | byte;
        }
        return value;
    }

    // The string of table entry `index` in the table at `table`: its length, then its offset.
    std::optional<std::string_view> Entry(std::uint32_t table, std::uint32_t index) const {
        const std::size_t at = std::size_t{table} + std::size_t{index} * 8;
        const auto length = Word(at);
        const auto offset = Word(at + 4);
        if (!length || !offset || *offset > bytes_.size() || bytes_.size() - *offset < *length)
            return std::nullopt;
        return bytes_.substr(*offset, *length);
    }

private:
    std::string_view bytes_;
    bool swapped_;
};

} // namespace

Catalogue ParseCatalogue(std::string_view bytes) {
    const auto magic = CatalogueBytes(bytes, false).Word(0);
    if (!magic || (*magic != kMagic && *magic != kSwappedMagic))
        return {};
    const CatalogueBytes file(bytes, *magic == kSwappedMagic);
    const auto count = file.Word(8);
    const auto originals = file.Word(12);
    const auto translations = file.Word(16);
    if (!count || !originals || !translations)
        return {};
    Catalogue catalogue;
    for (std::uint32_t index = 0; index < *count; ++index) {
        const auto english = file.Entry(*originals, index);
        const auto translated = file.Entry(*translations, index);
        if (!english || !translated)
            return {};
        const bool plural = english->find('\0') != std::string_view::npos;
        if (!english->empty() && !translated->empty() && !plural)
            catalogue.emplace(*english, *translated);
    }
    return catalogue;
}

Catalogue ReadCatalogue(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    return ParseCatalogue(bytes);
}

} // namespace velmora
