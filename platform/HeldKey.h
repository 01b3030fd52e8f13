// The single open key that a settings operation works with: opening or
// creating another key takes its place, and the operation ends by flushing and
// closing whatever is held, so no handle is left open.
#pragma once

#include <string_view>

#include "platform/KeyStore.h"

namespace platform {

class HeldKey {
public:
    // Every key is opened and created with `access`.
    HeldKey(KeyStore& store, KeyAccess access) : m_store(store), m_access(access) {}
    HeldKey(const HeldKey&) = delete;
    HeldKey& operator=(const HeldKey&) = delete;
    // Closes a key still held (when the operation was cut short), without flushing.
    ~HeldKey();

    // Open or create `path` in place of the held key. When the store's call
    // succeeds, the previously held key is closed and the new one is held.
    // The result is the store's result when its call failed (the held key
    // stays), the close's result when closing the previous key failed (the new
    // key is held all the same), and ERROR_SUCCESS otherwise.
    KeyResult Open(std::string_view path);
    KeyResult Create(std::string_view path);

    bool IsHeld() const { return m_key != KeyHandle::None; }
    KeyHandle Handle() const { return m_key; }

    struct Ending {
        KeyResult flush = ERROR_SUCCESS;
        KeyResult close = ERROR_SUCCESS;
        // What was written through the key is stored when either call stored
        // it: a close writes again what a failed flush could not.
        bool Stored() const { return flush == ERROR_SUCCESS || close == ERROR_SUCCESS; }
    };

    // Flushes and closes the held key, if any (both results ERROR_SUCCESS when
    // nothing was held).
    Ending FlushAndClose();

private:
    KeyResult Replace(KeyResult callResult, KeyHandle opened);

    KeyStore& m_store;
    KeyAccess m_access;
    KeyHandle m_key = KeyHandle::None;
};

}  // namespace platform
