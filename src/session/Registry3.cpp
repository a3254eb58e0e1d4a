#include "session/Registry3.h"

#include <QSettings>
#include <QStringList>

#include <memory>
#include <optional>

namespace orbivex::Registry3 {

namespace {

const QString Success = QStringLiteral("The operation completed successfully.");

struct KeyLocation {
    QString maker;
    QString program;
    QString group; // "" for the top of the store
};

// "Software\Maker\Program\Sub" -> maker, program, group "Sub". Empty parts are not allowed.
std::optional<KeyLocation> LocateKey(const QString& keyPath) {
    const QStringList parts = keyPath.split(QLatin1Char('\\'));
    if (parts.size() < 2 ||
        parts.front().compare(QLatin1String("Software"), Qt::CaseInsensitive) != 0) {
        return std::nullopt;
    }
    for (const QString& part : parts) {
        if (part.trimmed().isEmpty() || part.contains(QLatin1Char('/'))) {
            return std::nullopt;
        }
    }
    KeyLocation location;
    location.maker = parts[1];
    location.program = parts.size() > 2 ? parts[2] : QString();
    location.group = parts.mid(3).join(QLatin1Char('/'));
    return location;
}

std::unique_ptr<QSettings> OpenStore(const KeyLocation& location) {
    auto settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                location.maker, location.program);
    if (!location.group.isEmpty()) {
        settings->beginGroup(location.group);
    }
    return settings;
}

bool KeyExists(const QSettings& settings) {
    return !settings.childKeys().isEmpty() || !settings.childGroups().isEmpty();
}

QString KeyFailure(int number, const QString& systemText) {
    return QString::number(number) + QStringLiteral(" Unable to create (or find) key.  ") +
           systemText;
}

} // namespace

QString WriteValue(const QString& keyPath, const QString& valueName, const QString& text) {
    const std::optional<KeyLocation> location = LocateKey(keyPath);
    if (!location) {
        return KeyFailure(87, QStringLiteral("The parameter is incorrect."));
    }
    if (valueName.isEmpty() || valueName.contains(QLatin1Char('/')) ||
        valueName.contains(QLatin1Char('\\'))) {
        return QStringLiteral("2 Name not specified.");
    }
    const auto settings = OpenStore(*location);
    const bool existed = KeyExists(*settings);
    // A value stored already is not written again: writing rewrites the whole store and waits
    // for the disk, which the program's start-up would otherwise do every time.
    const QVariant stored = settings->value(valueName);
    if (existed && settings->status() == QSettings::NoError &&
        stored.typeId() == QMetaType::QString && stored.toString() == text) {
        return QStringLiteral("0 Key already exists.  ") + Success;
    }
    settings->setValue(valueName, text);
    settings->sync();
    switch (settings->status()) {
    case QSettings::NoError:
        break;
    case QSettings::AccessError:
        return KeyFailure(5, QStringLiteral("Access is denied."));
    case QSettings::FormatError:
        return KeyFailure(13, QStringLiteral("The data is invalid."));
    }
    return (existed ? QStringLiteral("0 Key already exists.  ")
                    : QStringLiteral("0 New key created.  ")) +
           Success;
}

QString ReadValue(const QString& keyPath, const QString& valueName, QString& text) {
    text.clear();
    const std::optional<KeyLocation> location = LocateKey(keyPath);
    if (!location) {
        return QStringLiteral("1 Key not found or is empty.");
    }
    const auto settings = OpenStore(*location);
    if (settings->status() != QSettings::NoError || !KeyExists(*settings)) {
        return QStringLiteral("1 Key not found or is empty.");
    }
    if (valueName.isEmpty()) {
        return QStringLiteral("2 Name not specified.");
    }
    const QVariant value = settings->value(valueName);
    if (!value.isValid()) {
        return QStringLiteral("3 Name not found.");
    }
    if (!value.canConvert<QString>() || value.typeId() == QMetaType::QStringList) {
        return QStringLiteral("4 The data is invalid.");
    }
    QString read = value.toString();
    while (!read.isEmpty() && read.back().unicode() < 32) {
        read.chop(1);
    }
    if (value.toString().isEmpty()) {
        return QStringLiteral("3 Name not found.");
    }
    text = read;
    return QStringLiteral("0 OK");
}

} // namespace orbivex::Registry3
