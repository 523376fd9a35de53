#include "controls/MarkupAccessible.h"

#include "controls/MarkupControl.h"
#include "graphics/qt/QtConversions.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>
#include <vector>

namespace velmora {

namespace {

// One link of a control; it reads the link afresh on every question, so that
// it follows the control's text.
class MarkupLinkAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    MarkupLinkAccessible(MarkupControl* control, int index) : control_(control), index_(index) {}

    bool isValid() const override { return Link() != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        const MarkupControl* control = control_.data();
        return control == nullptr ? nullptr : control->window()->windowHandle();
    }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(control_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::Link; }

    QString text(QAccessible::Text kind) const override {
        const MarkupLink* link = Link();
        if (link == nullptr) {
            return {};
        }
        switch (kind) {
        case QAccessible::Name:
            return FromText(link->Text, control_->Encoding());
        case QAccessible::Description:
        case QAccessible::Value:
            return FromText(link->Target, control_->Encoding());
        default:
            return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        const MarkupControl* control = control_.data();
        const MarkupLink* link = Link();
        if (control == nullptr || link == nullptr || link->Bounds.isEmpty()) {
            return {};
        }
        return QRect(control->mapToGlobal(link->Bounds.topLeft()), link->Bounds.size());
    }

    QAccessible::State state() const override {
        QAccessible::State state;
        state.focusable = true;
        state.linked = true;
        const MarkupControl* control = control_.data();
        if (control == nullptr) {
            state.invisible = true;
            return state;
        }
        state.focused = control->FocusedLink() == index_;
        state.invisible = !control->isVisible() || rect().isEmpty();
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
    void doAction(const QString& name) override {
        MarkupControl* control = control_.data();
        const MarkupLink* link = Link();
        if (name == pressAction() && control != nullptr && link != nullptr && !link->Target.empty()) {
            control->PressLink(std::string(link->Target));
        }
    }

private:
    const MarkupLink* Link() const {
        MarkupControl* control = control_.data();
        if (control == nullptr) {
            return nullptr;
        }
        const auto& links = control->Links();
        return index_ < static_cast<int>(links.size()) ? &links[static_cast<std::size_t>(index_)] : nullptr;
    }

    QPointer<MarkupControl> control_;
    int index_;
};

class MarkupControlAccessible : public QAccessibleWidget {
public:
    explicit MarkupControlAccessible(MarkupControl* control)
        : QAccessibleWidget(control, QAccessible::StaticText) {}

    ~MarkupControlAccessible() override {
        for (const QAccessible::Id id : children_) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) {
            return FromText(Control()->PlainText(), Control()->Encoding()).simplified();
        }
        return QAccessibleWidget::text(kind);
    }

    int childCount() const override { return static_cast<int>(Control()->Links().size()); }

    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) {
            return nullptr;
        }
        while (static_cast<int>(children_.size()) <= index) {
            auto* link = new MarkupLinkAccessible(Control(), static_cast<int>(children_.size()));
            children_.push_back(QAccessible::registerAccessibleInterface(link));
        }
        return QAccessible::accessibleInterface(children_[static_cast<std::size_t>(index)]);
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        for (std::size_t i = 0; i < children_.size(); ++i) {
            if (QAccessible::accessibleInterface(children_[i]) == child) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = 0; i < childCount(); ++i) {
            if (QAccessibleInterface* link = child(i); link != nullptr && link->rect().contains(x, y)) {
                return link;
            }
        }
        return nullptr;
    }

private:
    MarkupControl* Control() const { return static_cast<MarkupControl*>(widget()); }

    mutable std::vector<QAccessible::Id> children_;
};

QAccessibleInterface* MarkupAccessibleFactory(const QString&, QObject* object) {
    if (auto* control = qobject_cast<MarkupControl*>(object)) {
        return new MarkupControlAccessible(control);
    }
    return nullptr;
}

} // namespace

void InstallMarkupAccessibility() {
    QAccessible::installFactory(MarkupAccessibleFactory);
}

} // namespace velmora
