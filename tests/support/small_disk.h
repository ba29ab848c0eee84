#pragma once

#include <QString>
#include <QTemporaryDir>

namespace marvoxa::test {

// A tmpfs of a few pages mounted on a temporary folder, so a write can really run out of
// space. Mounting needs root (CI runs as root); when it is refused, mountError() says why and
// the test must fail with it.
class SmallDisk {
public:
    explicit SmallDisk(int kibibytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    const QString& mountError() const { return mountError_; }
    QString filePath(const QString& name) const { return folder_.filePath(name); }
    QString path() const { return folder_.path(); }

private:
    QTemporaryDir folder_;
    bool mounted_ = false;
    QString mountError_;
};

}  // namespace marvoxa::test
