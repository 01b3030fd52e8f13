// A URL opener for tests: records what it would open and answers with a
// chosen result code.
#pragma once

#include <string>
#include <vector>

#include "platform/OpenResult.h"
#include "platform/UrlOpener.h"

class RecordingUrlOpener final : public platform::UrlOpener {
public:
    int OpenUrl(const std::string& url) override {
        opened.push_back(url);
        return result;
    }

    int result = platform::open_result::kOpened;
    std::vector<std::string> opened;
};
