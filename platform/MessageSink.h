// Where the program's modal messages go: the window shows a message box,
// tests record the texts.
#pragma once

#include <string_view>

namespace platform {

enum class MessageIcon {
    Stop,         // a failure the user must know of (data files, settings store)
    Exclamation,  // a web link that could not be opened
};

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Shows `text` modally with an OK button and returns when it is dismissed.
    virtual void ShowMessage(MessageIcon icon, std::string_view text) = 0;
};

}  // namespace platform
