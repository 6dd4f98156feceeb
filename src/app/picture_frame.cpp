#include "app/picture_frame.h"

#include <QPainter>

PictureFrame::PictureFrame(const QString &picture, QWidget *parent)
    : QFrame(parent), picture_(picture)
{
}

void PictureFrame::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    if (picture_.isNull())
        painter.fillRect(rect(), QColor(192, 192, 192));  // silver when the picture is missing
    else
        painter.drawPixmap(rect(), picture_);
    QFrame::paintEvent(event);
}

void PictureFrame::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    emit resized();
}
