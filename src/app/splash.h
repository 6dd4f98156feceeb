#pragma once
// The start-up picture: a borderless window centred on the screen, sized to its JPEG.

#include <QWidget>

class Tfrmstart : public QWidget {
    Q_OBJECT
public:
    explicit Tfrmstart(const QPixmap &picture);

    // Builds the splash from the picture stored with the program; nullptr (after telling
    // the user) when the picture cannot be decoded, and start-up goes on without it.
    static Tfrmstart *create();
};

// Keeps the splash painted for `milliseconds` while ignoring the keyboard and mouse.
void holdSplash(int milliseconds);
