#pragma once

#include <QCursor>
#include <QString>

namespace veltrano::platform {

// Loads a Windows cursor file (.cur) with its hot spot. Throws Failure when the file cannot
// be read or is not a cursor.
QCursor loadCursorFile(const QString& path);

}  // namespace veltrano::platform
