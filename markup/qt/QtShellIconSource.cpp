#include "markup/qt/QtShellIconSource.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QMimeDatabase>
#include <QPixmap>
#include <QString>
#include <vector>

namespace velmora {
namespace {

constexpr int kSmallIcon = 16;
constexpr int kLargeIcon = 32;

QString FromLocal(const std::string& path) {
    return QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size()));
}

} // namespace

struct QtShellIconSource::Icons {
    QFileIconProvider Provider;
    QMimeDatabase MimeTypes;
    // An icon and the key that finds it again, so that one type keeps one number.
    std::vector<std::pair<QString, QIcon>> Known;

    std::int32_t NumberOf(const QString& key, const QIcon& icon) {
        for (std::size_t i = 0; i < Known.size(); ++i) {
            if (Known[i].first == key) {
                return static_cast<std::int32_t>(i);
            }
        }
        Known.emplace_back(key, icon);
        return static_cast<std::int32_t>(Known.size() - 1);
    }
};

QtShellIconSource::QtShellIconSource() : icons_(std::make_unique<Icons>()) {
    const std::pair<const char*, QFileIconProvider::IconType> standard[] = {
        {"computer", QFileIconProvider::Computer}, {"desktop", QFileIconProvider::Desktop},
        {"trash", QFileIconProvider::Trashcan},    {"network", QFileIconProvider::Network},
        {"drive", QFileIconProvider::Drive},       {"folder", QFileIconProvider::Folder},
        {"file", QFileIconProvider::File},
    };
    for (const auto& [key, type] : standard) {
        icons_->NumberOf(QStringLiteral(":standard:") + QLatin1String(key), icons_->Provider.icon(type));
    }
}

QtShellIconSource::~QtShellIconSource() = default;

std::int32_t QtShellIconSource::IconIndex(const std::string& path, bool byName) {
    const QString name = FromLocal(path);
    if (!byName) {
        const QFileInfo info(name);
        if (info.isDir()) {
            return icons_->NumberOf(QStringLiteral(":standard:folder"), {});
        }
        const QString type = icons_->MimeTypes.mimeTypeForFile(info).name();
        return icons_->NumberOf(type, icons_->Provider.icon(info));
    }
    // Only the name counts, and ".txt" alone names a text file, not a hidden one without an extension.
    const QString probe = name.startsWith(QLatin1Char('.')) ? QStringLiteral("file") + name : name;
    const QMimeType type = icons_->MimeTypes.mimeTypeForFile(probe, QMimeDatabase::MatchExtension);
    QIcon icon = QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName()));
    if (icon.isNull()) {
        icon = icons_->Provider.icon(QFileIconProvider::File);
    }
    return icons_->NumberOf(type.name(), icon);
}

Size QtShellIconSource::IconSize(bool large) const {
    const int side = large ? kLargeIcon : kSmallIcon;
    return {side, side};
}

Bitmap QtShellIconSource::Icon(std::int32_t index, bool large) {
    if (index < 0 || static_cast<std::size_t>(index) >= icons_->Known.size()) {
        return {};
    }
    const int side = large ? kLargeIcon : kSmallIcon;
    const QIcon& icon = icons_->Known[static_cast<std::size_t>(index)].second;
    if (icon.isNull()) {
        return {};
    }
    // The pixmap may come smaller than asked or scaled for a high-density screen; the list's size is fixed.
    const QImage image = icon.pixmap(side, side)
                             .toImage()
                             .scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                             .convertToFormat(QImage::Format_ARGB32);
    Bitmap bitmap(side, side);
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            bitmap.SetPixel(x, y, row[x]);
        }
    }
    return bitmap;
}

} // namespace velmora
