#include "SaveImage.h"

#include "MyView.h"
#include "PicturePng.h"
#include "RecentFolders.h"

#include <QFileDialog>
#include <QMessageBox>

#include <optional>

namespace dwell {

namespace {

// An unfinished picture is half white: saved only when the user says so.
bool confirmUnfinished(QWidget &parent)
{
    const auto answer =
        QMessageBox::question(&parent, QObject::tr("Save image"),
                              QObject::tr("The picture is not finished yet. Save it as it is now?"),
                              QMessageBox::Save | QMessageBox::Cancel, QMessageBox::Cancel);
    return answer == QMessageBox::Save;
}

} // namespace

void saveImage(QWidget &parent, MyView &view)
{
    const QString path = QFileDialog::getSaveFileName(
        &parent, QObject::tr("Save image"),
        RecentFolders::in(QStringLiteral("save"), QStringLiteral("dwell.png")),
        QObject::tr("PNG images (*.png)"));
    if (path.isEmpty())
        return;
    RecentFolders::remember(QStringLiteral("save"), path);
    // A copy, so that no worker writes into it meanwhile; taken again after
    // the question, as the pass went on while it was asked.
    std::optional<PassPicture> picture = view.picture();
    if (picture && !picture->complete) {
        if (!confirmUnfinished(parent))
            return;
        picture = view.picture();
    }
    QString error = QObject::tr("there is no picture yet");
    PictureOutput output;
    output.complete = picture && picture->complete;
    output.reader = OutputFile::Reader::Refuse;
    if (!picture || !writePicturePng(path, picture->image, picture->scene, &error, output))
        QMessageBox::warning(&parent, QObject::tr("Save image"),
                             QObject::tr("Cannot write %1: %2").arg(path, error));
}

} // namespace dwell
