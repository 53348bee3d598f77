#include "shell/file_drop.h"

#include <QDropEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

namespace veltrano {

namespace {

// The path of the first local file among the dragged data, or empty.
QString droppedFile(const QMimeData* data) {
    if (data == nullptr) {
        return {};
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            return url.toLocalFile();
        }
    }
    // Some programs offer a file only as the text of its URL.
    const QString text = data->text().trimmed();
    if (text.startsWith(QStringLiteral("file:")) && !text.contains(QLatin1Char('\n'))) {
        const QUrl url(text);
        if (url.isValid() && url.isLocalFile()) {
            return url.toLocalFile();
        }
    }
    return {};
}

class FileDropFilter final : public QObject {
public:
    explicit FileDropFilter(QLineEdit& box) : QObject(&box), mBox(box) {}

    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        switch (event->type()) {
            case QEvent::DragEnter:
            case QEvent::DragMove:
            case QEvent::Drop: {
                auto* drop = static_cast<QDropEvent*>(event);
                const QString file = droppedFile(drop->mimeData());
                if (file.isEmpty()) {
                    return false;
                }
                drop->setDropAction(Qt::CopyAction);
                drop->accept();
                if (event->type() == QEvent::Drop) {
                    mBox.setText(file);
                    mBox.setFocus(Qt::OtherFocusReason);
                }
                return true;
            }
            default:
                return false;
        }
    }

private:
    QLineEdit& mBox;
};

}  // namespace

void acceptFileDrops(QLineEdit& box, QGroupBox& frame) {
    auto* filter = new FileDropFilter(box);
    box.setAcceptDrops(true);
    box.installEventFilter(filter);
    // The frame's other controls take no drops, so a drop onto them reaches the frame too.
    frame.setAcceptDrops(true);
    frame.installEventFilter(filter);
}

}  // namespace veltrano
