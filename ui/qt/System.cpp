#include "ui/System.h"

#include "ui/FormList.h"
#include "ui/Services.h"
#include "ui/qt/Impl.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>
#include <QUrl>
#include <cstdio>
#include <unistd.h>

namespace ui::sys {

namespace {

// The form the box belongs to: the one with the focus, else the first one on the screen.
QWidget* OwnerForm() {
    if (QWidget* active = QApplication::activeWindow())
        return active;
    for (Form* form : forms::All())
        if (form->Visible())
            return form->Native().widget;
    return nullptr;
}

} // namespace

void ShowMessageBox(const std::string& text, int style, const std::string& title) {
    QMessageBox box(style == CriticalStyle ? QMessageBox::Critical : QMessageBox::Warning,
                    QString::fromStdString(title),
                    QString::fromStdString(text).replace(QStringLiteral("\r\n"), "\n"),
                    QMessageBox::Ok, OwnerForm());
    // Above every window of the program, the stays-on-top saver included: a report under it
    // would leave a screen that looks frozen.
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

// The filter's description shows as given; Qt reads the patterns from a last pair of brackets.
std::optional<std::string> ChooseFileInDialog(const std::string& folder,
                                              const std::string& filter) {
    const QString given = QString::fromStdString(filter);
    const auto bar = given.indexOf('|');
    const QString description = bar < 0 ? given : given.left(bar);
    QString patterns = bar < 0 ? QStringLiteral("*") : given.mid(bar + 1);
    patterns.replace(';', ' ');
    const QString chosen =
        QFileDialog::getOpenFileName(OwnerForm(), QString(), QString::fromStdString(folder),
                                     description + QStringLiteral(" (") + patterns + ')', nullptr,
                                     QFileDialog::HideNameFilterDetails);
    if (chosen.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(chosen).toStdString();
}

bool OpenInBrowser(const std::string& address) {
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(address)));
}

std::vector<std::string> ArgumentList() {
    QStringList arguments = QCoreApplication::arguments();
    std::vector<std::string> list;
    for (qsizetype i = 1; i < arguments.size(); ++i)
        list.push_back(arguments[i].toStdString());
    return list;
}

std::string ArgumentText() {
    QStringList arguments = QCoreApplication::arguments();
    if (!arguments.isEmpty())
        arguments.removeFirst();
    return arguments.join(' ').toStdString();
}

[[noreturn]] void EndNow() {
    // Settings are on disk after every write, so nothing is lost by skipping the clean-up.
    std::fflush(nullptr);
    _exit(0);
}

} // namespace ui::sys
