#pragma once

#include <QObject>

namespace velmora {

// The windows speak the user's language where the platform speaks: the warning box and Qt's own dialogs.
class LanguageTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void windowsSpeakTheUsersLanguage_data();
    void windowsSpeakTheUsersLanguage();
    void theAboutMarkupChangesOnlyItsWords_data();
    void theAboutMarkupChangesOnlyItsWords();
};

} // namespace velmora
