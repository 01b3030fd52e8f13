#include "platform/DefaultBrowser.h"

#include <dlfcn.h>
#include <gio/gio.h>

#include <memory>
#include <optional>

namespace platform {
namespace {

// GIO brings six more shared libraries and their set-up into the process,
// which every start of the window would pay for; only a click on a link whose
// address the desktop's opener refused needs it, so it is loaded then.
struct Gio {
    decltype(&g_app_info_get_default_for_uri_scheme) defaultForScheme;
    decltype(&g_app_info_get_default_for_type) defaultForType;
    decltype(&g_app_info_launch_uris) launchUris;
    decltype(&g_object_unref) unref;
};

// Null when the library lacks the function.
template <typename Function>
Function Resolve(void* library, const char* name) {
    return reinterpret_cast<Function>(dlsym(library, name));
}

// Empty when the library or one of its functions is missing. Loaded once and
// never unloaded: GIO cannot be unloaded safely.
const std::optional<Gio>& LoadGio() {
    static const std::optional<Gio> gio = []() -> std::optional<Gio> {
        void* library = dlopen("libgio-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) {
            return std::nullopt;
        }
        const Gio loaded{
            Resolve<decltype(Gio::defaultForScheme)>(library,
                                                     "g_app_info_get_default_for_uri_scheme"),
            Resolve<decltype(Gio::defaultForType)>(library, "g_app_info_get_default_for_type"),
            Resolve<decltype(Gio::launchUris)>(library, "g_app_info_launch_uris"),
            Resolve<decltype(Gio::unref)>(library, "g_object_unref"),
        };
        if (loaded.defaultForScheme == nullptr || loaded.defaultForType == nullptr ||
            loaded.launchUris == nullptr || loaded.unref == nullptr) {
            return std::nullopt;
        }
        return loaded;
    }();
    return gio;
}

GAppInfo* FindDefaultBrowser(const Gio& gio) {
    if (GAppInfo* app = gio.defaultForScheme("https")) {
        return app;
    }
    return gio.defaultForType("text/html", /*must_support_uris=*/TRUE);
}

}  // namespace

BrowserLaunch StartDefaultBrowser(const std::string& url) {
    const std::optional<Gio>& gio = LoadGio();
    if (!gio) {
        return {BrowserLaunch::Outcome::NoBrowser};
    }
    const auto unref = [&gio](GAppInfo* app) { gio->unref(app); };
    const std::unique_ptr<GAppInfo, decltype(unref)> browser(FindDefaultBrowser(*gio), unref);
    if (!browser) {
        return {BrowserLaunch::Outcome::NoBrowser};
    }
    GList uris{const_cast<char*>(url.c_str()), nullptr, nullptr};
    GError* error = nullptr;
    if (gio->launchUris(browser.get(), &uris, nullptr, &error)) {
        return {BrowserLaunch::Outcome::Started};
    }
    const BrowserLaunch failed{BrowserLaunch::Outcome::Failed, error->domain, error->code};
    g_error_free(error);
    return failed;
}

}  // namespace platform
