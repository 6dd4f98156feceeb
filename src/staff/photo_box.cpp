#include "staff/photo_box.h"

#include "db/app_paths.h"
#include "staff/photo_files.h"

#include <QImageReader>

PhotoBox::PhotoBox(QWidget *parent) : QLabel(parent)
{
    setObjectName("photoBox");
    setFixedSize(120, 150);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setAlignment(Qt::AlignCenter);
    setToolTip(QStringLiteral("双击选择照片"));
}

void PhotoBox::showPhoto(const QString &photoName)
{
    shownFile_ = staff::photoFileToShow(photoName);
    QPixmap picture(shownFile_);
    if (picture.isNull()) {  // present but not a picture we can read
        shownFile_ = app_paths::missingPhotoIconFile();
        picture.load(shownFile_);
    }
    setPixmap(picture.isNull() ? QPixmap()
                               : picture.scaled(contentsRect().size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void PhotoBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    QLabel::mouseDoubleClickEvent(event);
    emit doubleClicked();
}
