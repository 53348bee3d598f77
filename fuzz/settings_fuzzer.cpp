// The one value read from the settings at start, the output folder, through SettingsStore.
// An even first byte: the rest is the settings file as it may lie on disk (written by another
// program or cut short), which must read without harm. An odd one: the rest is a folder text,
// stored and read back from the file, which must give it again.
#include <fcntl.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QString>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_check.h"
#include "platform/qt/settings_store.h"

using veltrano::fuzz::require;
using veltrano::platform::SettingsStore;

namespace {

QString gSettingsFolder;
QString gSettingsFile;

void removeSettingsFolder() {
    QDir(gSettingsFolder).removeRecursively();
}

// Qt keeps a settings file it has read and reads it again only when its size or time has
// changed: each file put in place gets a time of its own, so every input is read afresh.
void putSettingsFile(const QByteArray& bytes) {
    static std::int64_t seconds = 1000000000;
    QFile file(gSettingsFile);
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "the settings file opens");
    require(file.write(bytes) == bytes.size(), "the settings file is written");
    file.close();
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ++seconds;
    require(utimensat(AT_FDCWD, QFile::encodeName(gSettingsFile).constData(), times, 0) == 0,
            "the settings file gets its time");
}

QByteArray storedBytes() {
    QFile file(gSettingsFile);
    require(file.open(QIODevice::ReadOnly), "the stored settings file opens");
    return file.readAll();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The store writes where the user's settings live: a scratch folder of our own instead.
    std::string folder = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") +
                         "/veltrano-settings-fuzz.XXXXXX";
    require(mkdtemp(folder.data()) != nullptr, "a scratch settings folder is made");
    setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    gSettingsFolder = QString::fromStdString(folder);
    gSettingsFile = gSettingsFolder + QStringLiteral("/Kestrava.conf");
    std::atexit(removeSettingsFolder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const QByteArray rest(reinterpret_cast<const char*>(data + 1),
                          static_cast<qsizetype>(size - 1));
    const QString fallback = QStringLiteral("fallback");
    if (data[0] % 2 == 0) {
        putSettingsFile(rest);
        SettingsStore::outputFolder(fallback);
        return 0;
    }
    const QString folder = QString::fromUtf8(rest);
    require(SettingsStore::setOutputFolder(folder), "a folder is saved");
    putSettingsFile(storedBytes());
    require(SettingsStore::outputFolder(fallback) == folder, "a stored folder reads back");
    return 0;
}
