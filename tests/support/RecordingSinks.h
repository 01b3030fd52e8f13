// Stand-ins for the window's outlets: a message sink that records what it
// would show, and a URL opener that records what it would open and answers
// with a chosen result code.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/MessageSink.h"
#include "platform/OpenResult.h"
#include "platform/UrlOpener.h"

class RecordingMessageSink final : public platform::MessageSink {
public:
    struct Message {
        platform::MessageIcon icon;
        std::string text;
    };

    void ShowMessage(platform::MessageIcon icon, std::string_view text) override {
        messages.push_back(Message{icon, std::string(text)});
    }

    std::vector<Message> messages;
};

class RecordingUrlOpener final : public platform::UrlOpener {
public:
    int OpenUrl(const std::string& url) override {
        opened.push_back(url);
        return result;
    }

    int result = platform::open_result::kOpened;
    std::vector<std::string> opened;
};
