#include "app/settings/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>
#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

std::int32_t g_baseLocation = 0;
std::int32_t g_remoteLocation = 0;

namespace {

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

bool IsText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    return !utf8.hasError() && !text.contains(QChar(0));
}

// Qt rebuilds a value written as "@Variant(...)" or "@DateTime(...)" with
// QDataStream, which nests as deeply as the bytes say, and a rewrite rebuilds
// every value of the file. Olvanta writes numbers only, so a file that may
// hold such a value is not one Olvanta reads: one with an '@', or with an
// escape that makes any character (\x40 and \100 are '@').
bool MayHoldStreamedValues(const QByteArray& bytes) {
    static const QRegularExpression anyCharacterEscape(QStringLiteral(R"(\\[x0-7])"));
    return bytes.contains('@') || QString::fromUtf8(bytes).contains(anyCharacterEscape);
}

// Whether Qt's INI reader, reading our file itself, finds every line of it
// readable: what it cannot read, a rewrite leaves out. Qt reads a file once
// per process and says a format error only while it reads it, so bytes it
// has judged before keep the verdict it gave them.
bool QtReadsAsSettings(const QByteArray& bytes) {
    static std::optional<std::pair<QByteArray, bool>> verdict;
    if (!verdict || verdict->first != bytes) {
        QSettings settings(ProgramFile(), QSettings::IniFormat);
        settings.allKeys();  // reads every section now, not only those asked for
        verdict.emplace(bytes, settings.status() != QSettings::FormatError);
    }
    return verdict->second;
}

std::string_view WithoutLeadingBlanks(std::string_view line) {
    const std::size_t first = line.find_first_not_of(" \t");
    return first == std::string_view::npos ? std::string_view() : line.substr(first);
}

// Qt's reader knows ';' comments only and cannot read a line starting with
// '#', though people write comments so and a rewrite drops both kinds alike.
// Whether every line it cannot read is such a comment is told only in a file
// without quotes and backslashes, where its lines are the text between line
// ends (CR or LF) up to a ';': Qt lets quotes and backslashes carry a line on.
bool OnlyHashCommentsUnreadable(const QByteArray& bytes) {
    if (bytes.contains('"') || bytes.contains('\\')) {
        return false;
    }
    const std::string_view text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        const std::string_view whole = text.substr(start, end - start);
        const std::string_view line = WithoutLeadingBlanks(whole.substr(0, whole.find(';')));
        const bool readable = line.empty() || line.front() == '#' ||
                              line.find(line.front() == '[' ? ']' : '=') != std::string_view::npos;
        if (!readable) {
            return false;
        }
        start = end + 1;
    }
    return true;
}

// A file that is not text, may hold values Qt rebuilds, or has lines Qt
// cannot read other than '#' comments, is somebody else's or spoilt: it is
// reported and never written over.
bool IsDamaged(const QByteArray& bytes) {
    return !IsText(bytes) || MayHoldStreamedValues(bytes) ||
           (!QtReadsAsSettings(bytes) && !OnlyHashCommentsUnreadable(bytes));
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
// both positions written.
SettingsOutcome CreateBothKeys() {
    return QDir().mkpath(CompanyDirectory()) && WritePositions() ? SettingsOutcome::Done
                                                                 : SettingsOutcome::StoreDamaged;
}

}  // namespace

SettingsOutcome LoadSettings() {
    if (!QFileInfo(CompanyDirectory()).isDir()) {
        return CreateBothKeys();
    }
    const std::optional<QByteArray> bytes = ReadProgramFile();
    if (bytes && IsDamaged(*bytes)) {
        return SettingsOutcome::StoreDamaged;
    }
    if (bytes) {
        // Failing to set a replacement is not reported: closing writes again.
        QSettings settings(ProgramFile(), QSettings::IniFormat);
        ReadOrSetPosition(settings, kBaseValue, g_baseLocation);
        ReadOrSetPosition(settings, kRemoteValue, g_remoteLocation);
    } else if (!QFileInfo::exists(ProgramFile())) {
        // A file that cannot be created is not reported here: the positions
        // stay as they are, and closing the window reports it.
        WritePositions();
    }
    return SettingsOutcome::Done;
}

SettingsOutcome SaveSettings() {
    if (!QFileInfo(CompanyDirectory()).isDir()) {
        return CreateBothKeys();
    }
    const std::optional<QByteArray> bytes = ReadProgramFile();
    const bool creatable = !bytes && !QFileInfo::exists(ProgramFile());
    if ((bytes && IsDamaged(*bytes)) || (!bytes && !creatable)) {
        return SettingsOutcome::StoreDamaged;
    }
    if (WritePositions()) {
        return SettingsOutcome::Done;
    }
    // Closing the window is the only moment the places are saved, so a file
    // that was there but took no write is said rather than losing them
    // without a word.
    return bytes ? SettingsOutcome::PlacesNotSaved : SettingsOutcome::StoreDamaged;
}

std::optional<std::string> SettingsMessage(SettingsOutcome outcome) {
    switch (outcome) {
        case SettingsOutcome::Done: return std::nullopt;
        case SettingsOutcome::StoreDamaged: return std::string(kStoreDamaged);
        // Qt names no cause beyond an access error.
        case SettingsOutcome::PlacesNotSaved:
            return std::string(kPlacesNotSaved) + "access is denied.";
    }
    return std::nullopt;
}
