// The desktop's two ways of opening a link, for tests: records the addresses
// each was given and answers as told (by default the desktop's opener takes
// every address).
#pragma once

#include <string>
#include <vector>

#include "platform/UrlOpener.h"

class RecordingUrlOpener final : public platform::UrlOpener {
public:
    void OpenWithDesktop(const std::string& url, std::function<void(bool)> done) override {
        opened.push_back(url);
        done(desktopOpens);
    }

    platform::BrowserLaunch StartDefaultBrowser(const std::string& url) override {
        started.push_back(url);
        return browser;
    }

    bool desktopOpens = true;
    platform::BrowserLaunch browser{platform::BrowserLaunch::Outcome::NoBrowser};
    std::vector<std::string> opened;   // by the desktop's opener
    std::vector<std::string> started;  // with the default browser
};
