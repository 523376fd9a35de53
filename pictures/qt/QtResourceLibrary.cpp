#include "pictures/qt/QtResourceLibrary.h"

#include "graphics/Windows1252.h"

#include <QFile>
#include <QString>

namespace velmora {

std::optional<std::vector<std::uint8_t>> QtResourceLibrary::FindResource(std::string_view name) const {
    // A name that climbs out of the folder or carries a NUL would reach other resources than rcdata.
    if (name.find('\0') != std::string_view::npos || name.find('/') != std::string_view::npos) {
        return std::nullopt;
    }
    const std::u16string unicode = DecodeWindows1252(name);
    QFile file(QStringLiteral(":/rcdata/") + QString::fromStdU16String(unicode));
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

} // namespace velmora
