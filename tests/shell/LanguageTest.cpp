#include "LanguageTest.h"

#include "../messages/ScopedLanguage.h"
#include "ShellTestSupport.h"
#include "shell/AboutTexts.h"
#include "shell/LinkLabel.h"
#include "shell/QtTranslations.h"
#include "shell/Unit1.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTranslator>
#include <QtTest>

namespace velmora {

using testkit::FailOnQtWarnings;
using testkit::ModalAnswerer;

namespace {

// Drops the translations installed for the previous language and installs those of the current one.
void ReloadQtTranslations() {
    for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    InstallQtTranslations(*qApp);
}

} // namespace

void LanguageTest::init() {
    FailOnQtWarnings();
}

void LanguageTest::cleanup() {
    ReloadQtTranslations();
}

void LanguageTest::windowsSpeakTheUsersLanguage_data() {
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("warningTitle");
    QTest::addColumn<QString>("cancel");
    QTest::newRow("English") << "C.UTF-8"
                             << ""
                             << "Warning"
                             << "Cancel";
    QTest::newRow("French desktop") << "fr_FR.UTF-8"
                                    << ""
                                    << "Avertissement"
                                    << "Annuler";
    QTest::newRow("French chosen through LANGUAGE") << "C.UTF-8"
                                                    << "fr"
                                                    << "Avertissement"
                                                    << "Annuler";
}

void LanguageTest::windowsSpeakTheUsersLanguage() {
    QFETCH(QString, lang);
    QFETCH(QString, language);
    QFETCH(QString, warningTitle);
    QFETCH(QString, cancel);
    LanguageSettings settings{{"LANG", lang.toStdString()}};
    if (!language.isEmpty()) {
        settings["LANGUAGE"] = language.toStdString();
    }
    const ScopedLanguage scoped(settings);
    ReloadQtTranslations();

    TForm1 form(std::nullopt);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    ModalAnswerer user(&form);
    form.ShowWarning("Only cue sheets are repaired");
    QCOMPARE(int(user.boxes.size()), 1);
    QCOMPARE(user.boxes[0].title, warningTitle);
    QCOMPARE(user.boxes[0].text, QString("Only cue sheets are repaired"));

    QString cancelText;
    user.OnChooser = [&cancelText] {
        const auto* buttons = QApplication::activeModalWidget()->findChild<QDialogButtonBox*>();
        if (buttons != nullptr && buttons->button(QDialogButtonBox::Cancel) != nullptr) {
            cancelText = buttons->button(QDialogButtonBox::Cancel)->text();
        }
    };
    user.Answer(std::nullopt);
    form.activateWindow();
    form.Label3->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), form.Label3);
    QTest::keyClick(form.Label3, Qt::Key_Return);
    QTRY_COMPARE(int(user.choosers.size()), 1);
    QCOMPARE(cancelText, cancel);
}

void LanguageTest::theAboutMarkupChangesOnlyItsWords_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("donation");
    for (const testkit::DonationLine& line : testkit::kDonationLines) {
        QTest::newRow(line.Name) << line.Language << line.Text;
    }
}

void LanguageTest::theAboutMarkupChangesOnlyItsWords() {
    QFETCH(QString, language);
    QFETCH(QString, donation);
    const auto texts = [] {
        return LocalizedAboutTexts("http://maker.example/", "mailto:a@b.example", "mailto:c@d.example");
    };
    AboutTexts english;
    {
        const ScopedLanguage scoped(kEnglishMessages);
        english = texts();
    }
    const ScopedLanguage scoped(
        language.isEmpty() ? kEnglishMessages
                           : LanguageSettings{{"LANG", "fr_FR.UTF-8"}, {"LANGUAGE", language.toStdString()}});
    const AboutTexts shown = texts();
    QCOMPARE(shown.Donation,
             QStringList{"<BLINK><B><A href=\"http://maker.example/\">" + donation + "</A></B></BLINK>"});
    const QRegularExpression tag("<[^>]*>");
    const auto tags = [&](const QStringList& lines) {
        QStringList found;
        for (auto match = tag.globalMatch(lines.join('\n')); match.hasNext();) {
            found += match.next().captured();
        }
        return found;
    };
    for (const auto list : {&AboutTexts::Notice, &AboutTexts::Donation, &AboutTexts::Thanks}) {
        QCOMPARE((shown.*list).size(), (english.*list).size());
        QCOMPARE(tags(shown.*list), tags(english.*list));
    }
}

} // namespace velmora
