#include "pay/appraisal_editor.h"

#include "app/failure_message.h"
#include "app/grid_export.h"
#include "app/notify.h"
#include "app/period_boxes.h"
#include "app/search_bar.h"
#include "app/striped_grid.h"
#include "app/title_strip.h"
#include "db/code_items.h"
#include "db/sql.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QString kErrorTitle = QStringLiteral("错误信息");
const int kFirstResultColumn = 2;  // 职工编码, 职工姓名, then one column per result

QString tick(bool marked) { return marked ? QStringLiteral("√") : QString(); }

}  // namespace

Tfrmndkhbj::Tfrmndkhbj(ScreenHost &host) : FunctionScreen(host, "Tfrmndkhbj")
{
    setGeometry(host.workArea()->rect());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(makeTitleStrip(QStringLiteral(" 等级工资及年度考核 >> 年度考核编辑"), this));
    auto *body = new QHBoxLayout;
    layout->addLayout(body, 1);

    auto *find = new QGroupBox(QStringLiteral("查找条件"), this);
    auto *left = new QVBoxLayout(find);
    departments_ = new StripedGrid(find);
    departmentRows_ = new RowsModel({QStringLiteral("编码"), QStringLiteral("单位名称")}, this);
    departments_->setModel(departmentRows_);
    departments_->verticalHeader()->hide();
    departments_->horizontalHeader()->setStretchLastSection(true);
    departments_->setFixedWidth(240);
    left->addWidget(departments_);
    body->addWidget(find);

    auto *editor = new QGroupBox(QStringLiteral("年度考核编辑框"), this);
    auto *right = new QVBoxLayout(editor);
    auto *bar = new QHBoxLayout;
    generate_ = new QPushButton(QStringLiteral("生成考核表"), editor);
    connect(generate_, &QPushButton::clicked, this, &Tfrmndkhbj::generate);
    auto *back = new QPushButton(QStringLiteral("返回"), editor);
    connect(back, &QPushButton::clicked, this, &QWidget::close);
    year_ = makeYearBox(editor);
    bar->addWidget(generate_);
    bar->addWidget(new QLabel(QStringLiteral("年度"), editor));
    bar->addWidget(year_);
    bar->addStretch();
    bar->addWidget(back);
    right->addLayout(bar);
    sheet_ = new StripedGrid(editor);
    QStringList titles = {QStringLiteral("职工编码"), QStringLiteral("职工姓名")};
    sheetRows_ = new RowsModel(titles + pay::appraisalResults(), this);
    sheet_->setModel(sheetRows_);
    sheet_->verticalHeader()->hide();
    sheet_->setSelectionBehavior(QAbstractItemView::SelectItems);
    right->addWidget(new SearchBar(this, {sheet_}));
    right->addWidget(sheet_, 1);
    body->addWidget(editor, 1);

    try {
        QList<QVariantList> rows;
        for (const code_items::Item &d : code_items::codeItems(host.database(), "dwdmb", {.before = "97"}))
            rows << QVariantList{d.code, d.name};
        departmentRows_->setRows(rows);
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.title = kErrorTitle, .reading = true});
    }
    connect(departments_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &Tfrmndkhbj::showDepartment);
    connect(year_, &QSpinBox::valueChanged, this, &Tfrmndkhbj::load);
    connect(sheet_, &QAbstractItemView::clicked, this, &Tfrmndkhbj::mark);
    departments_->selectRow(0);
    load();
}

void Tfrmndkhbj::load()
{
    rows_.clear();
    try {
        const bool present = pay::hasAppraisalSheet(host().database(), year_->value());
        if (present)
            rows_ = pay::appraisalSheet(host().database(), year_->value());
        generate_->setEnabled(!present);
    } catch (const sql::Failure &e) {
        generate_->setEnabled(false);
        failure_message::show(this, e, {.title = kErrorTitle, .reading = true});
    }
    sheet_->setEnabled(!generate_->isEnabled());
    showDepartment();
}

void Tfrmndkhbj::showDepartment()
{
    const QModelIndex current = departments_->currentIndex();
    const QVariantList chosen = current.isValid() ? departmentRows_->rows()[current.row()] : QVariantList();
    const QString department = chosen.value(0).toString();
    // The workbook says which year and department it holds.
    grid_export::setExportTitle(*sheet_, QStringLiteral("年度考核表 %1年 %2 %3")
                                             .arg(year_->value())
                                             .arg(department, chosen.value(1).toString())
                                             .trimmed());
    QList<QVariantList> rows;
    for (const pay::AppraisalRow &r : rows_) {
        if (r.department != department)
            continue;
        QVariantList row = {r.employee, r.name};
        for (const QString &result : pay::appraisalResults())
            row << tick(r.result == result);
        rows << row;
    }
    sheetRows_->setRows(rows);
}

void Tfrmndkhbj::generate()
{
    bool existed = false;
    try {
        const WaitingBox waiting(host());
        // Nothing written while the year has rows: another operator generated it since this
        // screen looked.
        existed = pay::generateAppraisalSheet(host().database(), year_->value()) == 0
                  && pay::hasAppraisalSheet(host().database(), year_->value());
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.title = kErrorTitle});
    }
    if (existed)
        notify::show(this, notify::Kind::Information, QStringLiteral("提示"),
                     QStringLiteral("%1年度的考核表已经存在，没有重复生成。").arg(year_->value()));
    load();
}

void Tfrmndkhbj::mark(const QModelIndex &cell)
{
    const int resultIndex = cell.column() - kFirstResultColumn;
    if (!cell.isValid() || resultIndex < 0 || resultIndex >= pay::appraisalResults().size())
        return;
    // The grid's row by its employee, in whatever order the grid is sorted.
    const QString employee = sheetRows_->rows().value(cell.row()).value(0).toString();
    const auto found = std::find_if(rows_.begin(), rows_.end(), [&](const pay::AppraisalRow &r) { return r.employee == employee; });
    if (found == rows_.end())
        return;
    pay::AppraisalRow &row = *found;
    const QString result = pay::appraisalResults()[resultIndex];
    try {
        pay::markResult(host().database(), row.id, result);
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.title = kErrorTitle});
        return;
    }
    row.result = result;
    QList<QVariantList> rows = sheetRows_->rows();
    for (int i = 0; i < pay::appraisalResults().size(); ++i)
        rows[cell.row()][kFirstResultColumn + i] = tick(i == resultIndex);
    sheetRows_->setRows(rows);
    sheet_->setCurrentIndex(cell);
}
