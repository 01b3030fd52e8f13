#include "platform/DefaultBrowser.h"

#include <gio/gio.h>

#include <memory>

namespace platform {
namespace {

struct ObjectUnref {
    void operator()(GAppInfo* app) const { g_object_unref(app); }
};
using AppInfo = std::unique_ptr<GAppInfo, ObjectUnref>;

AppInfo FindDefaultBrowser() {
    if (GAppInfo* app = g_app_info_get_default_for_uri_scheme("https")) {
        return AppInfo(app);
    }
    return AppInfo(g_app_info_get_default_for_type("text/html", /*must_support_uris=*/TRUE));
}

}  // namespace

BrowserLaunch StartDefaultBrowser(const std::string& url) {
    const AppInfo browser = FindDefaultBrowser();
    if (!browser) {
        return {BrowserLaunch::Outcome::NoBrowser};
    }
    GList uris{const_cast<char*>(url.c_str()), nullptr, nullptr};
    GError* error = nullptr;
    if (g_app_info_launch_uris(browser.get(), &uris, nullptr, &error)) {
        return {BrowserLaunch::Outcome::Started};
    }
    const BrowserLaunch failed{BrowserLaunch::Outcome::Failed, error->domain, error->code};
    g_error_free(error);
    return failed;
}

}  // namespace platform
