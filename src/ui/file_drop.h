#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace marvoxa {

// What a dropped file is loaded as, by its extension: an IFO as "Load Ifo" loads it, a subtitle
// file or a video as "Load Srt ,Sub" does; anything else is not taken.
enum class DroppedFile { None, Ifo, Subtitle };
DroppedFile KindOfDroppedFile(const QString& path);

// Lets files be dropped onto a window: one local file of a kind it loads is taken, and said by
// the matching signal.
class FileDrop : public QObject {
    Q_OBJECT

public:
    explicit FileDrop(QWidget* window);

signals:
    void ifoDropped(const QString& path);
    void subtitleDropped(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace marvoxa
