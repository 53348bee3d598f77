#pragma once

#include <QString>

class QWidget;

namespace veltrano::platform {

// The open-file dialog component: a few properties and ShowOpen, which leaves the chosen
// path in FileName (or leaves FileName as it was when the user cancels).
class CommonDialog final {
public:
    explicit CommonDialog(QWidget* owner) : mOwner(owner) {}

    QString FileName;
    int Flags = 0;
    QString DialogTitle;
    QString Filter;  // "Description|pattern|" pairs

    void ShowOpen();

private:
    QWidget* mOwner;
};

}  // namespace veltrano::platform
