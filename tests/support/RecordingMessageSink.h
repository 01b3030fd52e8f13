// A message sink for tests: keeps every message shown, in order, with its icon.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/MessageSink.h"

class RecordingMessageSink final : public platform::MessageSink {
public:
    void ShowMessage(platform::MessageIcon icon, std::string_view text) override {
        m_messages.emplace_back(icon, std::string(text));
        if (whileShown) {
            whileShown();
        }
    }

    // Runs while a message shows: a test that needs what a modal box does to
    // the window (its own event loop, the focus it takes) shows one here.
    std::function<void()> whileShown;

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
