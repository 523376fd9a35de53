#include "MarkupAccessibleTest.h"

#include "ControlTestSupport.h"
#include "controls/HTMLText.h"
#include "controls/HTMLabel.h"
#include "controls/MarkupAccessible.h"

#include <QAccessible>
#include <QtTest>
#include <memory>

namespace velmora {

using namespace testkit;

namespace {

std::unique_ptr<QWidget> HostWith(const QString& kind, const std::string& markup, MarkupControl*& control) {
    std::unique_ptr<QWidget> host(ShownHost(320, 120));
    if (kind == "label") {
        auto* label = new THTMLabel(host.get());
        const std::vector<std::string> lines{markup};
        label->SetHTMLText(&lines);
        control = label;
    } else {
        auto* text = new THTMLStaticText(host.get());
        text->SetHTMLText({markup});
        text->SetTabStop(true);
        control = text;
    }
    control->setGeometry(0, 0, 320, 120);
    control->show();
    return host;
}

} // namespace

void MarkupAccessibleTest::init() {
    FailOnQtWarnings();
    InstallMarkupAccessibility();
}

void MarkupAccessibleTest::aScreenReaderSeesTheTextAndItsLinks_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("markup");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("links");
    QTest::addColumn<QStringList>("targets");
    for (const char* kind : {"label", "static text"}) {
        QTest::addRow("%s, no link", kind) << kind << "<B>Plain</B> words"
                                           << "Plain words" << QStringList{} << QStringList{};
        QTest::addRow("%s, two links", kind)
            << kind
            << "Visit <A href=\"http://a.example/\">the <B>site</B></A> or <A href=\"mailto:b@x\">mail</A>"
            << "Visit the site or mail" << QStringList{"the site", "mail"}
            << QStringList{"http://a.example/", "mailto:b@x"};
        QTest::addRow("%s, a link of its own kind", kind)
            << kind << "<a href=\"next\">Next page</a>"
            << "Next page" << QStringList{"Next page"} << QStringList{"next"};
        QTest::addRow("%s, a link across a line break", kind)
            << kind << "Thank you !<br><A href=\"mailto:c@x\">Dastrel</A>"
            << "Thank you ! Dastrel" << QStringList{"Dastrel"} << QStringList{"mailto:c@x"};
    }
}

void MarkupAccessibleTest::aScreenReaderSeesTheTextAndItsLinks() {
    QFETCH(QString, kind);
    QFETCH(QString, markup);
    QFETCH(QString, name);
    QFETCH(QStringList, links);
    QFETCH(QStringList, targets);
    MarkupControl* control = nullptr;
    const auto host = HostWith(kind, markup.toStdString(), control);
    QAccessibleInterface* text = QAccessible::queryAccessibleInterface(control);
    QVERIFY(text != nullptr);
    QCOMPARE(text->role(), QAccessible::StaticText);
    QCOMPARE(text->text(QAccessible::Name), name);
    QCOMPARE(text->childCount(), int(links.size()));
    const QRect whole = text->rect();
    for (int i = 0; i < links.size(); ++i) {
        QAccessibleInterface* link = text->child(i);
        QVERIFY(link != nullptr);
        QCOMPARE(link->role(), QAccessible::Link);
        QCOMPARE(link->text(QAccessible::Name), links[i]);
        QCOMPARE(link->text(QAccessible::Description), targets[i]);
        QCOMPARE(link->parent(), text);
        QCOMPARE(text->indexOfChild(link), i);
        QVERIFY(link->state().focusable);
        QVERIFY(!link->rect().isEmpty());
        QVERIFY(whole.contains(link->rect()));
        QCOMPARE(text->childAt(link->rect().center().x(), link->rect().center().y()), link);
        QVERIFY(link->actionInterface() != nullptr);
        QCOMPARE(link->actionInterface()->actionNames(),
                 QStringList{QAccessibleActionInterface::pressAction()});
    }
}

void MarkupAccessibleTest::thePressActionOpensTheLink_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("toTheDesktop");
    for (const char* kind : {"label", "static text"}) {
        QTest::addRow("%s, web", kind) << kind << "http://a.example/" << true;
        QTest::addRow("%s, mail", kind) << kind << "mailto:b@x" << true;
        QTest::addRow("%s, its own", kind) << kind << "next" << false;
    }
}

void MarkupAccessibleTest::thePressActionOpensTheLink() {
    QFETCH(QString, kind);
    QFETCH(QString, target);
    QFETCH(bool, toTheDesktop);
    ShellRecorder desktop;
    MarkupControl* control = nullptr;
    const auto host = HostWith(kind, "Go <A href=\"" + target.toStdString() + "\">there</A>", control);
    std::vector<std::string> clicked;
    control->OnAnchorClick = [&](QObject*, const std::string& anchor) {
        clicked.push_back(anchor);
    };
    QAccessibleInterface* link = QAccessible::queryAccessibleInterface(control)->child(0);
    QVERIFY(link != nullptr);
    link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    const std::vector<std::string> expected{target.toStdString()};
    QCOMPARE(desktop.targets, toTheDesktop ? expected : std::vector<std::string>{});
    QCOMPARE(clicked, toTheDesktop ? std::vector<std::string>{} : expected);
}

void MarkupAccessibleTest::theFocusedLinkIsToldAsFocused() {
    MarkupControl* control = nullptr;
    const auto host = HostWith("static text", "<A href=\"a\">one</A> <A href=\"b\">two</A>", control);
    QAccessibleInterface* text = QAccessible::queryAccessibleInterface(control);
    QVERIFY(!text->child(0)->state().focused);
    host->activateWindow();
    control->setFocus();
    QTRY_VERIFY(control->hasFocus());
    QVERIFY(text->child(0)->state().focused);
    QVERIFY(!text->child(1)->state().focused);
    QTest::keyClick(control, Qt::Key_Right);
    QVERIFY(!text->child(0)->state().focused);
    QVERIFY(text->child(1)->state().focused);
}

void MarkupAccessibleTest::theLinksFollowTheText() {
    MarkupControl* control = nullptr;
    const auto host = HostWith("label", "<A href=\"a\">one</A>", control);
    auto* label = static_cast<THTMLabel*>(control);
    QAccessibleInterface* text = QAccessible::queryAccessibleInterface(control);
    QCOMPARE(text->childCount(), 1);
    const std::vector<std::string> lines{"<A href=\"x\">first</A> and <A href=\"y\">second</A>"};
    label->SetHTMLText(&lines);
    QCOMPARE(text->text(QAccessible::Name), QString("first and second"));
    QCOMPARE(text->childCount(), 2);
    QCOMPARE(text->child(1)->text(QAccessible::Name), QString("second"));
    QCOMPARE(text->child(1)->text(QAccessible::Description), QString("y"));
}

} // namespace velmora
