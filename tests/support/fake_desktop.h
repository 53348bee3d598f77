#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "platform/qt/desktop_services.h"
#include "platform/qt/skin_framework.h"

namespace veltrano::testing {

// Records the skin component's calls by dispatch number, e.g. "2 path", "1 get", "1 set 5".
class RecordingSkin final : public platform::SkinComponent {
public:
    explicit RecordingSkin(QStringList& calls) : mCalls(calls) {}
    void LoadSkin(const QString& path, const QString& iniSection) override;
    int ApplyOptions() const override;
    void setApplyOptions(int options) override;
    void setAutoApplyNewWindows(bool enabled) override;
    void setAutoApplyNewThreads(bool enabled) override;
    void ApplyWindow(qint64 windowHandle) override;

    static constexpr int kInitialOptions = 4;

private:
    QStringList& mCalls;
};

// Desktop services for tests: message boxes are recorded, dialogs answered from queues, the
// program folder is a fresh temporary folder, and ending the program is only noted.
class FakeDesktop : public platform::DesktopServices {
public:
    FakeDesktop();

    void showMessage(const platform::MessageBoxRequest& request) override;
    QString getOpenFileName(QWidget* owner, const platform::OpenFileRequest& request) override;
    QString browseForFolder(QWidget* owner, const QString& title,
                            const QString& initialFolder) override;
    QString desktopFolder() override { return desktop; }
    QString applicationFolder() override { return programFolder.path(); }
    void processPendingEvents() override;
    void endProgram() override { ++endProgramCalls; }
    std::unique_ptr<platform::SkinComponent> createSkinComponent() override;

    // A file beside the program, with its folders made.
    QString addBesideProgram(const QString& relativeName, const QByteArray& content);

    std::vector<platform::MessageBoxRequest> messages;
    std::vector<platform::OpenFileRequest> openRequests;
    std::deque<QString> openAnswers;    // empty answer = cancelled
    std::deque<QString> folderAnswers;  // empty answer = cancelled
    QStringList folderTitles;
    QStringList skinCalls;
    QString desktop = QStringLiteral("/home/user/Desktop");
    int endProgramCalls = 0;
    // Run during the next pass of pending events, e.g. a second click.
    std::vector<std::function<void()>> duringEvents;
    QTemporaryDir programFolder;

private:
    platform::ScopedDesktopServices mInstalled;
};

}  // namespace veltrano::testing
