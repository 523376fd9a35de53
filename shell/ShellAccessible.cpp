#include "shell/ShellAccessible.h"

#include "shell/LinkLabel.h"
#include "shell/PictureBox.h"
#include "shell/Unit1.h"
#include "shell/Unit2.h"

#include <QAccessibleWidget>

namespace velmora {

namespace {

class LinkAccessible : public QAccessibleWidget {
public:
    explicit LinkAccessible(LinkLabel* link) : QAccessibleWidget(link, QAccessible::Link) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.linked = true;
        return state;
    }

    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override {
        if (name == pressAction()) {
            static_cast<LinkLabel*>(widget())->Press();
            return;
        }
        QAccessibleWidget::doAction(name);
    }
};

// Called for every widget the first time it is asked about, also while it is still being built: a
// window under construction is not yet of its final class and gets the general interface.
QAccessibleInterface* ShellAccessibleFactory(const QString&, QObject* object) {
    if (auto* link = dynamic_cast<LinkLabel*>(object)) {
        return new LinkAccessible(link);
    }
    if (auto* main = dynamic_cast<TForm1*>(object)) {
        return new QAccessibleWidget(main, QAccessible::Window);
    }
    if (auto* about = dynamic_cast<TForm2*>(object)) {
        return new QAccessibleWidget(about, QAccessible::Dialog);
    }
    if (auto* picture = dynamic_cast<PictureBox*>(object)) {
        return new QAccessibleWidget(picture, QAccessible::Graphic);
    }
    return nullptr;
}

} // namespace

void InstallShellAccessibility() {
    QAccessible::installFactory(ShellAccessibleFactory);
}

void ForgetEarlyAccessibility(QObject& object) {
    if (QAccessibleInterface* early = QAccessible::queryAccessibleInterface(&object)) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(early));
    }
}

} // namespace velmora
