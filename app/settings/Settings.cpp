#include "app/settings/Settings.h"

#include <array>
#include <string>
#include <string_view>

#include "platform/HeldKey.h"

std::int32_t g_baseLocation = 0;
std::int32_t g_remoteLocation = 0;

namespace {

using platform::HeldKey;
using platform::KeyResult;
using platform::KeyStore;
using platform::MessageSink;

constexpr std::string_view kCompanyKey = "Software\\Quandelle";
constexpr platform::KeyAccess kAccess = platform::KEY_READ | platform::KEY_WRITE;
constexpr std::string_view kBaseValue = "timezones_Base_Location";
constexpr std::string_view kRemoteValue = "timezones_Remote_Location";
constexpr std::string_view kStoreDamaged = "Registry database is corrupted!";
constexpr std::string_view kPlacesNotSaved = "The chosen places could not be saved: ";

std::string ProgramKey() {
    return std::string(kCompanyKey) + "\\" + "Olvanta";
}

void ShowStoreDamaged(MessageSink& messages) {
    messages.ShowMessage(platform::MessageIcon::Stop, kStoreDamaged);
}

KeyResult WritePosition(KeyStore& store, const HeldKey& key, std::string_view name,
                        std::int32_t position) {
    return store.SetDwordValue(key.Handle(), name, static_cast<std::uint32_t>(position));
}

// Both positions, in this order; the first failure's result.
KeyResult WritePositions(KeyStore& store, const HeldKey& key) {
    const KeyResult base = WritePosition(store, key, kBaseValue, g_baseLocation);
    const KeyResult remote = WritePosition(store, key, kRemoteValue, g_remoteLocation);
    return base != platform::ERROR_SUCCESS ? base : remote;
}

// Takes the stored position when it is a 32-bit number, and otherwise
// writes the current one in its place. A REG_DWORD of fewer than four bytes
// is no number either: its missing bytes would be made up.
void ReadOrWritePosition(KeyStore& store, const HeldKey& key, std::string_view name,
                         std::int32_t& position) {
    std::array<std::byte, 4> bytes{};
    platform::ValueType type = platform::REG_NONE;
    std::size_t size = 0;
    const KeyResult result = store.QueryValue(key.Handle(), name, type, bytes, size);
    if (result != platform::ERROR_SUCCESS || type != platform::REG_DWORD || size != bytes.size()) {
        WritePosition(store, key, name, position);
        return;
    }
    std::uint32_t stored = 0;
    for (std::size_t i = bytes.size(); i-- > 0;) {
        stored = (stored << 8) | std::to_integer<std::uint32_t>(bytes[i]);
    }
    position = static_cast<std::int32_t>(stored);
}

// The way on when the company key cannot be opened for an ordinary reason
// (typically the first start): creates it and then the program key, which is
// left held. False, after the message, when either cannot be created.
bool CreateBothKeys(HeldKey& key, MessageSink& messages) {
    if (key.Create(kCompanyKey) != platform::ERROR_SUCCESS ||
        key.Create(ProgramKey()) != platform::ERROR_SUCCESS) {
        ShowStoreDamaged(messages);
        return false;
    }
    return true;
}

}  // namespace

void LoadSettings(KeyStore& store, MessageSink& messages) {
    HeldKey key(store, kAccess);
    const KeyResult company = key.Open(kCompanyKey);
    if (platform::IsDamagedStore(company)) {
        ShowStoreDamaged(messages);
        return;
    }
    if (company == platform::ERROR_SUCCESS) {
        // A program key that cannot be had is not reported here: the
        // positions stay as they are, and closing the window reports it.
        if (key.Open(ProgramKey()) == platform::ERROR_SUCCESS) {
            ReadOrWritePosition(store, key, kBaseValue, g_baseLocation);
            ReadOrWritePosition(store, key, kRemoteValue, g_remoteLocation);
        } else if (key.Create(ProgramKey()) == platform::ERROR_SUCCESS) {
            WritePositions(store, key);
        }
    } else if (CreateBothKeys(key, messages)) {
        WritePositions(store, key);
    }
    key.FlushAndClose();
}

void SaveSettings(KeyStore& store, MessageSink& messages) {
    HeldKey key(store, kAccess);
    const KeyResult company = key.Open(kCompanyKey);
    if (platform::IsDamagedStore(company)) {
        ShowStoreDamaged(messages);
        return;
    }
    bool programHeld = false;
    if (company == platform::ERROR_SUCCESS) {
        programHeld = key.Open(ProgramKey()) == platform::ERROR_SUCCESS ||
                      key.Create(ProgramKey()) == platform::ERROR_SUCCESS;
        if (!programHeld) {
            ShowStoreDamaged(messages);
        }
    } else {
        programHeld = CreateBothKeys(key, messages);
    }
    const KeyResult written = programHeld ? WritePositions(store, key) : platform::ERROR_SUCCESS;
    const HeldKey::Ending ending = key.FlushAndClose();
    // Closing the window is the only moment the places are saved, so a write
    // that fails is said rather than losing them without a word.
    if (programHeld && (written != platform::ERROR_SUCCESS || !ending.Stored())) {
        const KeyResult reason = written != platform::ERROR_SUCCESS ? written : ending.flush;
        messages.ShowMessage(
            platform::MessageIcon::Stop,
            std::string(kPlacesNotSaved) + platform::DescribeKeyResult(reason) + ".");
    }
}
