#include "SaveImage.h"

#include "MyView.h"
#include "PicturePng.h"

#include <QFileDialog>
#include <QMessageBox>

#include <optional>

namespace {

struct Snapshot {
    BitmapImage image;
    Scene scene;
};

// A copy taken under the lock, so that no worker writes into it meanwhile.
std::optional<Snapshot> snapshotOf(MyView &view)
{
    std::lock_guard lock(view.workLock);
    if (!view.myImage)
        return std::nullopt;
    return Snapshot{*view.myImage, view.scene()};
}

} // namespace

void saveImage(QWidget &parent, MyView &view)
{
    const QString path = QFileDialog::getSaveFileName(&parent, QStringLiteral("Save image"),
                                                      QStringLiteral("dwell.png"),
                                                      QStringLiteral("PNG images (*.png)"));
    if (path.isEmpty())
        return;
    const std::optional<Snapshot> snapshot = snapshotOf(view);
    QString error = QStringLiteral("there is no picture yet");
    if (!snapshot || !writePicturePng(path, snapshot->image, snapshot->scene, &error))
        QMessageBox::warning(&parent, QStringLiteral("Save image"),
                             QStringLiteral("Cannot write %1: %2").arg(path, error));
}
