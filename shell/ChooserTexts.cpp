#include "shell/ChooserTexts.h"

#include "cue/references/Candidates.h"
#include "cue/text/SheetEncoding.h"
#include "messages/Messages.h"
#include "shell/LocalizedText.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace velmora {

namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Disc images when any filter asks for one, audio otherwise.
FileKind KindAskedFor(const FileFilterList& filters) {
    const bool image = std::any_of(filters.begin(), filters.end(), [](const FileFilter& filter) {
        const QStringList patterns = FromUtf8(filter.Pattern).split(';', Qt::SkipEmptyParts);
        return std::any_of(patterns.begin(), patterns.end(), [](const QString& pattern) {
            return HasExtensionOfKind(pattern.trimmed().toStdString(), FileKind::Image);
        });
    });
    return image ? FileKind::Image : FileKind::Audio;
}

} // namespace

QStringList NameFilters(const FileFilterList& filters) {
    QStringList names;
    for (const FileFilter& filter : filters) {
        names << LocalizedText(filter.Description.c_str()) + " (" +
                     FromUtf8(filter.Pattern).replace(';', ' ') + ")";
    }
    return names;
}

QStringList ReferencedFileFilters(const FileFilterList& filters) {
    QStringList patterns;
    for (const std::string_view extension : ExtensionsOfKind(KindAskedFor(filters))) {
        patterns << "*." + QString::fromLatin1(extension.data(), static_cast<qsizetype>(extension.size()));
    }
    return QStringList{LocalizedText("All supported files (%s)", {patterns.join(' ').toStdString()})} +
           NameFilters(filters) + QStringList{LocalizedText("All files (*)")};
}

QString ReferencedFileTitle(const std::string& referencedName, const std::string& sheetPath,
                            const std::string& sheetText) {
    const SheetEncoding encoding = DetectEncoding(sheetText);
    const auto name = IsValidUtf8(referencedName) ? std::optional<std::string>(referencedName)
                                                  : DecodeToUtf8(referencedName, encoding);
    const QString shown = name ? FromUtf8(*name) : QString::fromLatin1(referencedName.c_str());
    const QString sheet = QFileInfo(QFile::decodeName(sheetPath.c_str())).fileName();
    return LocalizedText("Where is \"%s\" (%s)?", {shown.toStdString(), sheet.toStdString()});
}

} // namespace velmora
