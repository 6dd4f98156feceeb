#pragma once
// The employee detail panel shared by the editor and the personal information sheet: the
// sections of employee_fields.h as framed groups of captioned controls, the photo box at the
// top right and 备注 at the bottom. Each screen supplies the control of a field; values are
// read and shown with edit::valueOf / edit::setValue.

#include "staff/employee_fields.h"

#include <QMap>
#include <QWidget>
#include <functional>

class PhotoBox;

class DetailPanel : public QWidget {
    Q_OBJECT
public:
    using ControlFactory = std::function<QWidget *(const edit::Field &, QWidget *parent)>;
    DetailPanel(const ControlFactory &makeControl, QWidget *parent = nullptr);

    QWidget *control(const QString &key) const { return controls_.value(key); }
    const QMap<QString, QWidget *> &controls() const { return controls_; }
    PhotoBox *photo() const { return photo_; }

    // The panel inside a scroll area: on a small work area the fields scroll rather than
    // being squeezed.
    QWidget *scrolling();

private:
    QMap<QString, QWidget *> controls_;
    PhotoBox *photo_;
};
