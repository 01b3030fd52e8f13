#include "controls/HyperLinkAccessible.h"

#include "controls/CHyperLink.h"

namespace {

QAccessibleInterface* MakeHyperLinkAccessible(const QString& className, QObject* object) {
    if (className != QLatin1String("CHyperLink")) {
        return nullptr;
    }
    auto* link = qobject_cast<CHyperLink*>(object);
    // Qt's accessibility cache owns the interface and frees it with the link.
    return link != nullptr ? new HyperLinkAccessible(*link) : nullptr;
}

}  // namespace

HyperLinkAccessible::HyperLinkAccessible(CHyperLink& link)
    : QAccessibleWidget(&link, QAccessible::Link) {}

CHyperLink& HyperLinkAccessible::Link() const {
    return *static_cast<CHyperLink*>(widget());
}

QString HyperLinkAccessible::text(QAccessible::Text kind) const {
    const CHyperLink& link = Link();
    switch (kind) {
        case QAccessible::Name:
            return link.accessibleName().isEmpty() ? link.text() : link.accessibleName();
        case QAccessible::Value: return QString::fromStdString(link.TargetUrl());
        default: return QAccessibleWidget::text(kind);
    }
}

QStringList HyperLinkAccessible::actionNames() const {
    return {pressAction()};
}

void HyperLinkAccessible::doAction(const QString& action) {
    // Only an attached link reacts, as only an attached link takes clicks.
    if (action == pressAction() && Link().IsAttached()) {
        Link().OnClicked();
    }
}

QStringList HyperLinkAccessible::keyBindingsForAction(const QString&) const {
    return {};
}

void HyperLinkAccessible::Install() {
    static const bool installed = [] {
        QAccessible::installFactory(&MakeHyperLinkAccessible);
        return true;
    }();
    (void)installed;
}
