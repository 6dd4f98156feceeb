#pragma once
// The photo box of the employee screens: shows picture/<name>, or the missing-photo icon when
// that file is absent or unreadable; a double click asks for another photo.

#include <QLabel>

class PhotoBox : public QLabel {
    Q_OBJECT
public:
    explicit PhotoBox(QWidget *parent = nullptr);
    void showPhoto(const QString &photoName);
    QString shownFile() const { return shownFile_; }

signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QString shownFile_;
};
