#pragma once

#include <QString>

#include <memory>

class QWidget;

namespace veltrano::platform {

// A display of long work's progress with a Cancel button, shown while it exists.
class ProgressDisplay {
public:
    virtual ~ProgressDisplay() = default;
    virtual void setPercent(int percent) = 0;
    virtual bool wasCancelled() const = 0;
};

// The platform's progress dialog, window-modal to owner; it appears only once the work has
// taken half a second, so that quick work shows nothing.
std::unique_ptr<ProgressDisplay> showProgressDialog(QWidget* owner, const QString& text);

}  // namespace veltrano::platform
