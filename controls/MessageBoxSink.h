// The program's modal messages shown as message boxes: the stop icon as a
// critical box, the exclamation icon as a warning, each titled with the
// application's name and owned by the active window.
#pragma once

#include "platform/MessageSink.h"

class MessageBoxSink final : public platform::MessageSink {
public:
    void ShowMessage(platform::MessageIcon icon, std::string_view text) override;

    // The one sink that the program's windows share.
    static MessageBoxSink& Instance();
};
