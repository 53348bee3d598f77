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
    // Nothing measurable happens while a page is parsed: until some work is done the bar
    // shows that it is busy rather than a still 0%.
    void setPercent(int percent) override {
        mDialog.setMaximum(percent > 0 ? 100 : 0);
        mDialog.setValue(percent);
    }
    bool wasCancelled() const override { return mDialog.wasCanceled(); }

private:
    QProgressDialog mDialog;
};

}  // namespace

std::unique_ptr<ProgressDisplay> showProgressDialog(QWidget* owner, const QString& text) {
    return std::make_unique<ProgressDialogDisplay>(owner, text);
}

}  // namespace veltrano::platform
