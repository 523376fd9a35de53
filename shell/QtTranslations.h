#pragma once

class QCoreApplication;

namespace velmora {

// Qt's own texts (the file chooser, message box buttons) in the user's language, from the translations
// installed with Qt; nothing changes when the language has none.
void InstallQtTranslations(QCoreApplication& app);

} // namespace velmora
