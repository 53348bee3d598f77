#include "platform/qt/progress_display.h"

#include <QProgressDialog>
#include <QTimer>

namespace veltrano::platform {

namespace {

// Work that ends within this time shows no dialog at all.
constexpr int kShowAfterMs = 500;

class ProgressDialogDisplay final : public ProgressDisplay {
public:
    ProgressDialogDisplay(QWidget* owner, const QString& text)
        : mDialog(text, QStringLiteral("Cancel"), 0, 100, owner) {
        mDialog.setWindowTitle(QStringLiteral("Veltrano"));
        mDialog.setWindowModality(Qt::WindowModal);
        mDialog.setMinimumDuration(kShowAfterMs);
        mDialog.setAutoClose(false);
        mDialog.setAutoReset(false);
        // The dialog's own timer restarts whenever the value is at its minimum, as it stays
        // while a page is parsed; this one does not.
        mShow.setSingleShot(true);
        QObject::connect(&mShow, &QTimer::timeout, &mDialog, [this] {
            if (!mDialog.wasCanceled()) {
                mDialog.show();
            }
        });
        mShow.start(kShowAfterMs);
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
    QTimer mShow;
};

}  // namespace

std::unique_ptr<ProgressDisplay> showProgressDialog(QWidget* owner, const QString& text) {
    return std::make_unique<ProgressDialogDisplay>(owner, text);
}

}  // namespace veltrano::platform
