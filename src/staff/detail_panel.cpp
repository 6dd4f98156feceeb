#include "staff/detail_panel.h"

#include "staff/photo_box.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {
constexpr int kPairsPerRow = 3;
}

DetailPanel::DetailPanel(const ControlFactory &makeControl, QWidget *parent) : QWidget(parent)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    photo_ = new PhotoBox(this);

    for (const QString &section : staff::detailSections()) {
        QWidget *box = section.isEmpty() ? new QWidget(this) : new QGroupBox(section, this);
        auto *grid = new QGridLayout(box);
        grid->setHorizontalSpacing(6);
        grid->setVerticalSpacing(3);
        if (section.isEmpty())
            grid->setContentsMargins(9, 0, 9, 0);
        int n = 0;
        for (const edit::Field &f : staff::detailFields()) {
            if (f.section != section)
                continue;
            QWidget *control = makeControl(f, box);
            control->setObjectName(f.key());
            controls_.insert(f.key(), control);
            auto *label = new QLabel(f.label, box);
            label->setBuddy(control);
            const int row = n / kPairsPerRow, col = (n % kPairsPerRow) * 2;
            grid->addWidget(label, row, col, Qt::AlignRight);
            grid->addWidget(control, row, col + 1);
            ++n;
        }
        for (int c = 1; c < kPairsPerRow * 2; c += 2)
            grid->setColumnStretch(c, 1);
        if (n == 1)  // a lone field (备注) takes the whole width
            grid->addWidget(grid->itemAtPosition(0, 1)->widget(), 0, 1, 1, kPairsPerRow * 2 - 1);
        if (column->count() == 0) {  // the first section shares its row with the photo
            auto *top = new QHBoxLayout;
            top->addWidget(box, 1);
            top->addWidget(photo_, 0, Qt::AlignTop);
            column->addLayout(top);
        } else {
            column->addWidget(box);
        }
    }
    column->addStretch();
}

QWidget *DetailPanel::scrolling()
{
    auto *area = new QScrollArea;
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidget(this);
    return area;
}
