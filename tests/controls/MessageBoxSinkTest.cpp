#include "controls/MessageBoxSink.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace {

struct Shown {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::TextFormat format = Qt::AutoText;
};

// Shows a message and reads the box back while it is open, then closes it.
Shown ShowAndRead(platform::MessageIcon icon, std::string_view text) {
    Shown shown;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        shown = Shown{box->windowTitle(), box->text(), box->icon(), box->textFormat()};
        box->accept();
    });
    MessageBoxSink::Instance().ShowMessage(icon, text);
    return shown;
}

TEST(MessageBoxSinkTest, ShowsTheTextUnderTheApplicationsName) {
    QCoreApplication::setApplicationName(QStringLiteral("olvanta"));
    struct Case {
        platform::MessageIcon icon;
        QMessageBox::Icon expected;
        std::string text;
    };
    const Case cases[] = {
        {platform::MessageIcon::Exclamation, QMessageBox::Warning,
         "Unable to open hyperlink:\n\nThe specified file was not found."},
        {platform::MessageIcon::Stop, QMessageBox::Critical, "Registry database is corrupted!"},
        {platform::MessageIcon::Stop, QMessageBox::Critical, "<b>not bold</b> & plain"},
    };
    for (const Case& c : cases) {
        const Shown shown = ShowAndRead(c.icon, c.text);
        EXPECT_EQ(shown.title, QStringLiteral("olvanta"));
        EXPECT_EQ(shown.text.toStdString(), c.text);
        EXPECT_EQ(shown.icon, c.expected);
        EXPECT_EQ(shown.format, Qt::PlainText);
    }
}

}  // namespace
