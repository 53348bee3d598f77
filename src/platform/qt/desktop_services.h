#pragma once

#include <QMessageBox>
#include <QString>

#include <memory>

class QWidget;

namespace veltrano::platform {

class ProgressDisplay;
class SkinComponent;

// A message box as the program asks for it; tests record these instead of showing them.
struct MessageBoxRequest {
    QString title;
    QString text;  // exactly as composed, CR LF and lone CRs included
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// The open-file dialog's settings, as the common dialog holds them.
struct OpenFileRequest {
    QString fileName;
    int flags = 0;
    QString title;
    QString filter;  // "Description|pattern|..." pairs
};

// The desktop's interactive and environment services. Windows reach dialogs, message boxes,
// folders and program exit only through the active instance, so that tests can answer
// dialogs, record messages and pretend lookups fail.
class DesktopServices {
public:
    virtual ~DesktopServices() = default;

    // Modal; returns when the user has dismissed the box.
    virtual void showMessage(const MessageBoxRequest& request);
    // The chosen file's full path, or empty when the user cancelled.
    virtual QString getOpenFileName(QWidget* owner, const OpenFileRequest& request);
    // The chosen folder as the platform gives it (a root keeps its separator), or empty.
    virtual QString browseForFolder(QWidget* owner, const QString& title,
                                    const QString& initialFolder);
    // The user's desktop folder, or the home folder where there is no desktop folder; empty
    // when it cannot be determined.
    virtual QString desktopFolder();
    // The folder of the files the program looks for beside itself: the program's own folder,
    // or the installed data folder (share/veltrano beside bin/) where that exists.
    virtual QString applicationFolder();
    // Lets waiting window events run once.
    virtual void processPendingEvents();
    // Ends the program at once: no window runs its closing steps.
    virtual void endProgram();
    // The progress of work that may take long, until the returned display is dropped; the
    // display appears only when the work takes a while.
    virtual std::unique_ptr<ProgressDisplay> showProgress(QWidget* owner, const QString& text);
    // The skin component the main window places on itself.
    virtual std::unique_ptr<SkinComponent> createSkinComponent();
};

DesktopServices& desktopServices();

// applicationFolder() for a program in programFolder.
QString applicationFolderFor(const QString& programFolder);

// Installs a replacement for the lifetime of this object (tests only).
class ScopedDesktopServices final {
public:
    explicit ScopedDesktopServices(DesktopServices& replacement);
    ~ScopedDesktopServices();
    ScopedDesktopServices(const ScopedDesktopServices&) = delete;
    ScopedDesktopServices& operator=(const ScopedDesktopServices&) = delete;

private:
    DesktopServices* mPrevious;
};

}  // namespace veltrano::platform
