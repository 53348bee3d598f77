#include "platform/qt/progress_display.h"

#include <QProgressDialog>

namespace veltrano::platform {

namespace {

class ProgressDialogDisplay final : public ProgressDisplay {
public:
    ProgressDialogDisplay(QWidget* owner, const QString& text)
        : mDialog(text, QStringLiteral("Cancel"), 0, 100, owner) {
        mDialog.setWindowTitle(QStringLiteral("Veltrano"));
        mDialog.setWindowModality(Qt::WindowModal);
        mDialog.setMinimumDuration(0);
        mDialog.setAutoClose(false);
        mDialog.setAutoReset(false);
        mDialog.show();
    }
    void setPercent(int percent) override { mDialog.setValue(percent); }
    bool wasCancelled() const override { return mDialog.wasCanceled(); }

private:
    QProgressDialog mDialog;
};

}  // namespace

std::unique_ptr<ProgressDisplay> showProgressDialog(QWidget* owner, const QString& text) {
    return std::make_unique<ProgressDialogDisplay>(owner, text);
}

}  // namespace veltrano::platform
