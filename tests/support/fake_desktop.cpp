#include "fake_desktop.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace veltrano::testing {

void RecordingSkin::LoadSkin(const QString& path, const QString& iniSection) {
    mCalls << QStringLiteral("2 ") + QFileInfo(path).fileName() + QLatin1Char('|') + iniSection;
}

int RecordingSkin::ApplyOptions() const {
    mCalls << QStringLiteral("1 get");
    return kInitialOptions;
}

void RecordingSkin::setApplyOptions(int options) {
    mCalls << QStringLiteral("1 set %1").arg(options);
}

void RecordingSkin::setAutoApplyNewWindows(bool enabled) {
    mCalls << QStringLiteral("5 %1").arg(enabled);
}

void RecordingSkin::setAutoApplyNewThreads(bool enabled) {
    mCalls << QStringLiteral("10 %1").arg(enabled);
}

void RecordingSkin::ApplyWindow(qint64 windowHandle) {
    mCalls << QStringLiteral("3 %1").arg(windowHandle != 0 ? QStringLiteral("handle")
                                                           : QStringLiteral("none"));
}

FakeDesktop::FakeDesktop() : mInstalled(*this) {}

void FakeDesktop::showMessage(const platform::MessageBoxRequest& request) {
    messages.push_back(request);
}

QString FakeDesktop::getOpenFileName(QWidget* /*owner*/, const platform::OpenFileRequest& request) {
    openRequests.push_back(request);
    if (openAnswers.empty()) {
        return {};
    }
    QString answer = openAnswers.front();
    openAnswers.pop_front();
    return answer;
}

QString FakeDesktop::browseForFolder(QWidget* /*owner*/, const QString& title,
                                     const QString& /*initialFolder*/) {
    folderTitles << title;
    if (folderAnswers.empty()) {
        return {};
    }
    QString answer = folderAnswers.front();
    folderAnswers.pop_front();
    return answer;
}

void FakeDesktop::processPendingEvents() {
    auto pending = std::move(duringEvents);
    duringEvents.clear();
    for (auto& action : pending) {
        action();
    }
    QCoreApplication::processEvents();
}

std::unique_ptr<platform::SkinComponent> FakeDesktop::createSkinComponent() {
    return std::make_unique<RecordingSkin>(skinCalls);
}

QString FakeDesktop::addBesideProgram(const QString& relativeName, const QByteArray& content) {
    const QString path = programFolder.filePath(relativeName);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(content);
    return path;
}

}  // namespace veltrano::testing
