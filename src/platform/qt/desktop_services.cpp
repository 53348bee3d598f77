#include "platform/qt/desktop_services.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>
#include <QStringList>

#include "platform/file_system.h"
#include "platform/qt/progress_display.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/skin_framework.h"

namespace veltrano::platform {

namespace {

DesktopServices* gActive = nullptr;

// "All HTML Files (*.htm)|*.htm*|" becomes Qt's "All HTML Files (*.htm) (*.htm*)": Qt takes
// the patterns from the last parentheses and shows the whole text.
QString toQtFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
        entries << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}

// Message boxes show CR LF and a lone CR as one line break each.
QString displayText(const QString& text) {
    return QString(text)
        .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

}  // namespace

void DesktopServices::showMessage(const MessageBoxRequest& request) {
    QMessageBox box(request.icon, request.title, displayText(request.text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

QString DesktopServices::getOpenFileName(QWidget* owner, const OpenFileRequest& request) {
    // The dialog shows each type's description as given, not Qt's list of its patterns.
    return QFileDialog::getOpenFileName(owner, request.title, request.fileName,
                                        toQtFilter(request.filter), nullptr,
                                        QFileDialog::HideNameFilterDetails);
}

QString DesktopServices::browseForFolder(QWidget* owner, const QString& title,
                                         const QString& initialFolder) {
    return QFileDialog::getExistingDirectory(owner, title, initialFolder);
}

QString DesktopServices::desktopFolder() {
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    // Servers, minimal desktops and fresh accounts have no desktop folder; there the desktop
    // is the home folder, as on every system without a desktop, so that a first join works.
    if (!desktop.isEmpty() && !fileSystem().isDirectory(toUtf8(desktop))) {
        return QDir::homePath();
    }
    return desktop;
}

QString DesktopServices::applicationFolder() {
    return applicationFolderFor(QCoreApplication::applicationDirPath());
}

void DesktopServices::processPendingEvents() {
    QCoreApplication::processEvents();
}

void DesktopServices::endProgram() {
    QCoreApplication::quit();
}

std::unique_ptr<ProgressDisplay> DesktopServices::showProgress(QWidget* owner,
                                                               const QString& text) {
    return showProgressDialog(owner, text);
}

std::unique_ptr<SkinComponent> DesktopServices::createSkinComponent() {
    return std::make_unique<SkinFramework>();
}

QString applicationFolderFor(const QString& programFolder) {
    // Installed, the program is in bin/ and its files in share/veltrano; in the build tree
    // they are beside it.
    const QString installed = QDir::cleanPath(programFolder + QLatin1Char('/') +
                                              QStringLiteral(VELTRANO_DATA_FROM_PROGRAM));
    return fileSystem().isDirectory(toUtf8(installed)) ? installed : programFolder;
}

DesktopServices& desktopServices() {
    static DesktopServices real;
    return gActive != nullptr ? *gActive : real;
}

ScopedDesktopServices::ScopedDesktopServices(DesktopServices& replacement) : mPrevious(gActive) {
    gActive = &replacement;
}

ScopedDesktopServices::~ScopedDesktopServices() {
    gActive = mPrevious;
}

}  // namespace veltrano::platform
