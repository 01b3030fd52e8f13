// What assistive technology sees of a CHyperLink: a link (not plain text)
// named by its caption, whose address is its value, and whose press action
// opens it as a click does. The link takes no keyboard focus, so this is how
// a person who cannot use a mouse follows it.
#pragma once

#include <QAccessibleWidget>

class CHyperLink;

class HyperLinkAccessible : public QAccessibleWidget {
public:
    explicit HyperLinkAccessible(CHyperLink& link);

    QString text(QAccessible::Text kind) const override;
    QStringList actionNames() const override;
    void doAction(const QString& action) override;
    QStringList keyBindingsForAction(const QString& action) const override;

    // Makes every CHyperLink answer with this interface; repeated calls
    // change nothing.
    static void Install();

private:
    CHyperLink& Link() const;
};
