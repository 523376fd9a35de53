#include "shell/QtTranslations.h"

#include "messages/Messages.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace velmora {

// Qt's texts follow the same choice of language as Velmora's own messages, so that a box never mixes two.
void InstallQtTranslations(QCoreApplication& app) {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const std::string& language : MessageLanguages()) {
        const QLocale locale(QString::fromStdString(language));
        if (locale.language() == QLocale::English) {
            return;
        }
        if (locale.language() == QLocale::C) {
            continue;
        }
        auto* translator = new QTranslator(&app);
        if (translator->load(locale, "qtbase", "_", folder)) {
            QCoreApplication::installTranslator(translator);
            return;
        }
        delete translator;
    }
}

} // namespace velmora
