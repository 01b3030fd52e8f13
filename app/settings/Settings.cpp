#include "app/settings/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryFile>
#include <optional>
#include <string>
#include <string_view>

std::int32_t g_baseLocation = 0;
std::int32_t g_remoteLocation = 0;

namespace {

using platform::MessageSink;

constexpr const char* kBaseValue = "timezones_Base_Location";
constexpr const char* kRemoteValue = "timezones_Remote_Location";
constexpr std::string_view kStoreDamaged = "Registry database is corrupted!";
constexpr std::string_view kPlacesNotSaved = "The chosen places could not be saved: ";

// The company's directory stands for its key, our file in it for the program's key.
QString CompanyDirectory() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Quandelle");
}

QString ProgramFile() {
    return CompanyDirectory() + QStringLiteral("/Olvanta.conf");
}

void ShowStoreDamaged(MessageSink& messages) {
    messages.ShowMessage(platform::MessageIcon::Stop, kStoreDamaged);
}

// Our file's bytes, when it is a regular file that can be read: anything else
// in its place (a FIFO would block the reading) counts as a key that cannot be
// opened.
std::optional<QByteArray> ReadProgramFile() {
    QFile file(ProgramFile());
    if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return file.readAll();
}

// Whether Qt's INI reader takes the bytes as settings. They are read from a
// fresh copy: Qt keeps a file it has read for the rest of the process and says
// a format error only while reading, so a second look at our unchanged file
// would find none. The copy leaves out '#' lines: people write comments so,
// while Qt's reader knows only ';' and calls them an error.
bool ReadsAsSettings(const QByteArray& bytes) {
    QTemporaryFile copy;
    if (!copy.open()) {
        return true;  // no copy, no verdict: the file's bytes alone decide
    }
    for (const QByteArray& line : bytes.split('\n')) {
        if (!line.trimmed().startsWith('#')) {
            copy.write(line + '\n');
        }
    }
    copy.close();
    QSettings settings(copy.fileName(), QSettings::IniFormat);
    settings.allKeys();  // reads every section now, not only those asked for
    return settings.status() != QSettings::FormatError;
}

bool IsText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    return !utf8.hasError() && !text.contains(QChar(0));
}

// A file that is not text, or that Qt cannot read as settings, is somebody
// else's or spoilt: it is reported and never written over.
bool IsDamaged(const QByteArray& bytes) {
    return !IsText(bytes) || !ReadsAsSettings(bytes);
}

// A stored position when the value is a whole number that fits 32 bits.
std::optional<std::int32_t> StoredPosition(const QSettings& settings, const char* name) {
    bool whole = false;
    const int position = settings.value(QLatin1String(name)).toString().toInt(&whole);
    return whole ? std::optional<std::int32_t>(position) : std::nullopt;
}

// Takes the stored position when it is good, and otherwise sets the current
// one in its place.
void ReadOrSetPosition(QSettings& settings, const char* name, std::int32_t& position) {
    if (const std::optional<std::int32_t> stored = StoredPosition(settings, name)) {
        position = *stored;
    } else {
        settings.setValue(QLatin1String(name), position);
    }
}

// Writes both positions, creating our file when it is missing. False when Qt
// could not store them; a format error is no failure here, as Qt still writes.
bool WritePositions() {
    QSettings settings(ProgramFile(), QSettings::IniFormat);
    settings.setValue(QLatin1String(kBaseValue), g_baseLocation);
    settings.setValue(QLatin1String(kRemoteValue), g_remoteLocation);
    settings.sync();
    return settings.status() != QSettings::AccessError;
}

// The way on when the company's directory is missing (typically the first
// start) or something else stands in its place: both keys are created and
// both positions written. The message says when that fails.
void CreateBothKeys(MessageSink& messages) {
    if (!QDir().mkpath(CompanyDirectory()) || !WritePositions()) {
        ShowStoreDamaged(messages);
    }
}

}  // namespace

void LoadSettings(MessageSink& messages) {
    if (!QFileInfo(CompanyDirectory()).isDir()) {
        CreateBothKeys(messages);
        return;
    }
    const std::optional<QByteArray> bytes = ReadProgramFile();
    if (bytes && IsDamaged(*bytes)) {
        ShowStoreDamaged(messages);
    } else if (bytes) {
        // Failing to set a replacement is not reported: closing writes again.
        QSettings settings(ProgramFile(), QSettings::IniFormat);
        ReadOrSetPosition(settings, kBaseValue, g_baseLocation);
        ReadOrSetPosition(settings, kRemoteValue, g_remoteLocation);
    } else if (!QFileInfo::exists(ProgramFile())) {
        // A file that cannot be created is not reported here: the positions
        // stay as they are, and closing the window reports it.
        WritePositions();
    }
}

void SaveSettings(MessageSink& messages) {
    if (!QFileInfo(CompanyDirectory()).isDir()) {
        CreateBothKeys(messages);
        return;
    }
    const std::optional<QByteArray> bytes = ReadProgramFile();
    const bool creatable = !bytes && !QFileInfo::exists(ProgramFile());
    if ((bytes && IsDamaged(*bytes)) || (!bytes && !creatable)) {
        ShowStoreDamaged(messages);
    } else if (!WritePositions()) {
        // Closing the window is the only moment the places are saved, so a
        // file that was there but took no write is said rather than losing
        // them without a word. Qt names no cause beyond an access error.
        if (bytes) {
            messages.ShowMessage(platform::MessageIcon::Stop,
                                 std::string(kPlacesNotSaved) + "access is denied.");
        } else {
            ShowStoreDamaged(messages);
        }
    }
}
