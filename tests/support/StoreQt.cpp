#include "startup/modMain.h"
#include "support/StandIns.h"
#include "ui/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace testing_support {

namespace {

QString StoreFile() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "Quillon", "Moondial")
        .fileName();
}

} // namespace

void ClearStore() {
    const QString file = StoreFile();
    if (QFileInfo(file).isDir())
        QDir(file).removeRecursively();
    QFile::remove(file);
}

std::optional<std::string> Stored(const std::string& name) {
    return ui::settings::ReadValue(ui::settings::CurrentUser, modMain::SettingsKey, name);
}

std::vector<std::string> StoredNames() {
    std::vector<std::string> names;
    const QSettings store(QSettings::NativeFormat, QSettings::UserScope, "Quillon", "Moondial");
    for (const QString& key : store.allKeys())
        names.push_back(key.toStdString());
    std::sort(names.begin(), names.end());
    return names;
}

// A folder where the settings file belongs can be neither read nor replaced.
void BreakStore() {
    ClearStore();
    QDir().mkpath(StoreFile());
}

} // namespace testing_support
