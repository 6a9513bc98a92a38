#include "ui/Settings.h"

#include "ui/Convert.h"
#include "ui/Error.h"

#include <QSettings>
#include <QStringList>

namespace ui::settings {

namespace {

constexpr const char* Source = "Settings store";
constexpr const char* OwnKey = "software\\quillon\\moondial";

// The per-user file keeps the one key the program uses; its values sit at the file's top.
void CheckKey(std::int32_t root, const std::string& keyPath) {
    if (root != CurrentUser || ToLowerAscii(keyPath) != OwnKey)
        throw Error(errors::InvalidArgument,
                    "The settings store keeps only HKEY_CURRENT_USER\\SOFTWARE\\Quillon\\Moondial, "
                    "not " +
                        keyPath + ".",
                    Source);
}

void CheckStatus(const QSettings& store, const char* action) {
    switch (store.status()) {
    case QSettings::NoError:
        return;
    case QSettings::AccessError:
        throw Error(75,
                    std::string("The settings file ") + store.fileName().toStdString() +
                        " cannot be " + action + ".",
                    Source);
    case QSettings::FormatError:
        throw Error(321,
                    std::string("The settings file ") + store.fileName().toStdString() +
                        " is not in a readable format.",
                    Source);
    }
}

} // namespace

std::optional<std::string> ReadValue(std::int32_t root, const std::string& keyPath,
                                     const std::string& name) {
    CheckKey(root, keyPath);
    const QSettings store(QSettings::NativeFormat, QSettings::UserScope, "Quillon", "Moondial");
    const QVariant value = store.value(QString::fromStdString(name));
    CheckStatus(store, "read");
    if (!value.isValid())
        return std::nullopt;
    // A hand-edited line with unquoted commas reads as a list; keep its text whole.
    if (value.metaType().id() == QMetaType::QStringList)
        return value.toStringList().join(',').toStdString();
    return value.toString().toStdString();
}

void WriteValue(std::int32_t root, const std::string& keyPath, const std::string& name,
                const std::string& value) {
    CheckKey(root, keyPath);
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, "Quillon", "Moondial");
    CheckStatus(store, "read");
    store.setValue(QString::fromStdString(name), QString::fromStdString(value));
    store.sync(); // on disk, replaced atomically, before the call returns
    CheckStatus(store, "written");
}

} // namespace ui::settings
