#pragma once
// A panel with a picture stretched over it (the top bar and the work area).

#include <QFrame>
#include <QPixmap>

class PictureFrame : public QFrame {
    Q_OBJECT
public:
    PictureFrame(const QString &picture, QWidget *parent = nullptr);

signals:
    void resized();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QPixmap picture_;
};
