#pragma once

#include <QByteArray>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace veltrano::testing {

// Points HOME and the XDG folders at a fresh folder of this test process for as long as it
// lives, so that settings and desktop lookups never reach the real home folder nor another
// test's. Make it before the first settings are read (a member of the test object will do).
class ScratchHome final {
public:
    ScratchHome();
    ~ScratchHome();
    ScratchHome(const ScratchHome&) = delete;
    ScratchHome& operator=(const ScratchHome&) = delete;

    QString path() const { return mHome.path(); }

private:
    QTemporaryDir mHome;
    // Each variable changed, with its value before (none when it was not set).
    std::vector<std::pair<const char*, std::optional<QByteArray>>> mPrevious;
};

// The program's settings as QSettings reads them (user scope, group "Veltrano"), to look at or
// change what the windows stored.
std::unique_ptr<QSettings> storedSettings();

}  // namespace veltrano::testing
