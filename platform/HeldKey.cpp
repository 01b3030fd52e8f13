#include "platform/HeldKey.h"

#include <utility>

namespace platform {

HeldKey::~HeldKey() {
    if (IsHeld()) {
        m_store.CloseKey(m_key);
    }
}

KeyResult HeldKey::Open(std::string_view path) {
    KeyHandle opened = KeyHandle::None;
    const KeyResult result = m_store.OpenKey(path, m_access, opened);
    return Replace(result, opened);
}

KeyResult HeldKey::Create(std::string_view path) {
    KeyHandle created = KeyHandle::None;
    const KeyResult result = m_store.CreateKey(path, m_access, created);
    return Replace(result, created);
}

KeyResult HeldKey::Replace(KeyResult callResult, KeyHandle opened) {
    if (callResult != ERROR_SUCCESS) {
        return callResult;
    }
    const KeyHandle previous = std::exchange(m_key, opened);
    if (previous == KeyHandle::None) {
        return ERROR_SUCCESS;
    }
    return m_store.CloseKey(previous);
}

HeldKey::Ending HeldKey::FlushAndClose() {
    Ending ending;
    if (IsHeld()) {
        ending.flush = m_store.FlushKey(m_key);
        ending.close = m_store.CloseKey(std::exchange(m_key, KeyHandle::None));
    }
    return ending;
}

}  // namespace platform
