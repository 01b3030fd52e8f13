// A message sink for tests: keeps every message shown, in order, with its icon.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/MessageSink.h"

class RecordingMessageSink final : public platform::MessageSink {
public:
    void ShowMessage(platform::MessageIcon icon, std::string_view text) override {
        m_messages.emplace_back(icon, std::string(text));
    }

    void Clear() { m_messages.clear(); }

    const std::vector<std::pair<platform::MessageIcon, std::string>>& Messages() const {
        return m_messages;
    }
    // The texts alone, for comparing with expected lists.
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& message : m_messages) {
            texts.push_back(message.second);
        }
        return texts;
    }

private:
    std::vector<std::pair<platform::MessageIcon, std::string>> m_messages;
};
