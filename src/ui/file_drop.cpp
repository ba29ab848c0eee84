#include "ui/file_drop.h"

#include "ui/dialog_filters.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace marvoxa {

namespace {

// The one local file being dragged, or empty.
QString DraggedFile(const QMimeData* data) {
    if (data == nullptr || data->urls().size() != 1 || !data->urls().first().isLocalFile()) {
        return {};
    }
    return data->urls().first().toLocalFile();
}

}  // namespace

DroppedFile KindOfDroppedFile(const QString& path) {
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension == QLatin1String("ifo")) {
        return DroppedFile::Ifo;
    }
    return SubtitleFileExtensions().contains(extension) || VideoFileExtensions().contains(extension)
               ? DroppedFile::Subtitle
               : DroppedFile::None;
}

FileDrop::FileDrop(QWidget* window) : QObject(window) {
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

bool FileDrop::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::DragEnter) {
        auto* enter = static_cast<QDragEnterEvent*>(event);
        if (KindOfDroppedFile(DraggedFile(enter->mimeData())) != DroppedFile::None) {
            enter->acceptProposedAction();
        }
        return true;
    }
    if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString path = DraggedFile(drop->mimeData());
        switch (KindOfDroppedFile(path)) {
            case DroppedFile::Ifo:
                drop->acceptProposedAction();
                emit ifoDropped(path);
                break;
            case DroppedFile::Subtitle:
                drop->acceptProposedAction();
                emit subtitleDropped(path);
                break;
            case DroppedFile::None:
                break;
        }
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace marvoxa
