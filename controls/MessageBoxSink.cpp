#include "controls/MessageBoxSink.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

void MessageBoxSink::ShowMessage(platform::MessageIcon icon, std::string_view text) {
    const QMessageBox::Icon boxIcon =
        icon == platform::MessageIcon::Stop ? QMessageBox::Critical : QMessageBox::Warning;
    QMessageBox box(boxIcon, QCoreApplication::applicationName(),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                    QMessageBox::Ok, QApplication::activeWindow());
    // The texts are the program's own plain words, never markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

MessageBoxSink& MessageBoxSink::Instance() {
    static MessageBoxSink sink;
    return sink;
}
