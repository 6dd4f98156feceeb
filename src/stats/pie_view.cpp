#include "stats/pie_view.h"

#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QLabel>
#include <QPieSeries>
#include <QPieSlice>
#include <QPushButton>
#include <QVBoxLayout>

TfrmPie::TfrmPie(const stats::PieData &data, QWidget *owner) : QFrame(owner)
{
    setObjectName("TfrmPie");
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);
    setGeometry(owner->rect());

    auto *layout = new QVBoxLayout(this);
    auto *bar = new QHBoxLayout;
    title_ = new QLabel(data.title, this);
    title_->setStyleSheet("QLabel { color: blue; border: 2px dotted blue; padding: 4px 12px; font-size: 16px; }");
    bar->addWidget(title_);
    bar->addStretch();
    return_ = new QPushButton(QStringLiteral("返回"), this);
    connect(return_, &QPushButton::clicked, this, &QWidget::close);
    bar->addWidget(return_);
    layout->addLayout(bar);

    series_ = new QPieSeries(this);
    for (const auto &[label, value] : data.slices) {
        QPieSlice *slice = series_->append(label, value);
        slice->setLabelVisible(true);
        slice->setLabelColor(Qt::black);
        slice->setLabelArmLengthFactor(0.08);
        slice->setLabelPosition(QPieSlice::LabelOutside);
        slice->setBorderColor(Qt::black);
    }
    series_->setPieSize(0.65);
    auto *chart = new QChart;
    chart->addSeries(series_);
    chart->legend()->hide();
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setBackgroundVisible(false);
    auto *view = new QChartView(chart, this);
    view->setRenderHint(QPainter::Antialiasing);
    view->setInteractive(false);
    layout->addWidget(view, 1);
}
