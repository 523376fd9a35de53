#include "pictures/qt/QtResourceLibrary.h"

#include "text/Windows1252.h"

#include <QDir>
#include <QFile>
#include <QString>

namespace velmora {

namespace {

const QString kFolder = QStringLiteral(":/rcdata/");

// Resource names are compared without regard to case, as markup writers expect; a name written
// exactly as stored wins over one that differs only in case.
QString StoredName(const QString& wanted) {
    if (QFile::exists(kFolder + wanted)) {
        return wanted;
    }
    const QStringList names = QDir(kFolder).entryList(QDir::Files, QDir::Name);
    for (const QString& name : names) {
        if (name.compare(wanted, Qt::CaseInsensitive) == 0) {
            return name;
        }
    }
    return {};
}

} // namespace

std::optional<std::vector<std::uint8_t>> QtResourceLibrary::FindResource(std::string_view name) const {
    // A name that climbs out of the folder or carries a NUL would reach other resources than rcdata.
    if (name.empty() || name.find('\0') != std::string_view::npos ||
        name.find('/') != std::string_view::npos) {
        return std::nullopt;
    }
    const QString stored = StoredName(QString::fromStdU16String(DecodeWindows1252(name)));
    if (stored.isEmpty()) {
        return std::nullopt;
    }
    QFile file(kFolder + stored);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

} // namespace velmora
