#include "pay/pay_entry_screen.h"

#include "app/failure_message.h"
#include "app/grid_export.h"
#include "app/period_boxes.h"
#include "app/prompt.h"
#include "app/search_bar.h"
#include "app/striped_grid.h"
#include "app/title_strip.h"
#include "db/clock.h"
#include "db/code_items.h"
#include "db/sql.h"
#include "pay/pay_lists.h"
#include "pay/pay_sheet_model.h"
#include "reports/print_preview.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

Tfrmgzlr::Tfrmgzlr(ScreenHost &host) : FunctionScreen(host, "Tfrmgzlr")
{
    setGeometry(host.workArea()->rect());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(makeTitleStrip(QStringLiteral("  职工工资表 >> 职工工资编辑"), this));
    auto *body = new QHBoxLayout;
    layout->addLayout(body, 1);

    // Left: the departments on duty.
    auto *left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("部门信息"), this));
    departments_ = new StripedGrid(this);
    departmentRows_ = new RowsModel({QStringLiteral("编号"), QStringLiteral("单位名称")}, this);
    departments_->setModel(departmentRows_);
    departments_->setFixedWidth(220);
    departments_->horizontalHeader()->setStretchLastSection(true);
    left->addWidget(departments_, 1);
    auto *arrows = new QHBoxLayout;
    for (const auto &[caption, step] : {std::pair{QStringLiteral("▲"), -1}, std::pair{QStringLiteral("▼"), 1}}) {
        auto *b = new QPushButton(caption, this);
        connect(b, &QPushButton::clicked, this, [this, step = step] { stepDepartment(step); });
        arrows->addWidget(b);
    }
    left->addLayout(arrows);
    body->addLayout(left);

    auto *right = new QVBoxLayout;
    body->addLayout(right, 1);
    auto *header = new QHBoxLayout;
    year_ = makeYearBox(this);
    month_ = makeMonthBox(this);
    rememberPayMonth(year_, month_);
    header->addWidget(new QLabel(QStringLiteral("现在是"), this));
    header->addWidget(year_);
    header->addWidget(new QLabel(QStringLiteral("年"), this));
    header->addWidget(month_);
    header->addWidget(new QLabel(QStringLiteral("月工资表"), this));
    header->addStretch();
    right->addLayout(header);

    tabs_ = new QTabWidget(this);
    std::vector<StripedGrid *> sheetGrids;
    for (const pay::Sheet &s : pay::sheets()) {
        auto *grid = new StripedGrid(tabs_);
        sheetGrids.push_back(grid);
        grid->setSelectionBehavior(QAbstractItemView::SelectItems);
        grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                              | QAbstractItemView::AnyKeyPressed);
        auto *model = new PaySheetModel(s, grid);
        grid->setModel(model);
        grid->setTotalsShown(true);
        connect(model, &PaySheetModel::refused, this, [this](const QString &message) {
            prompt::ask(QStringLiteral("错误提示"), message, false, this);
        });
        // A changed row is stored when the cursor leaves it.
        connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                [this, model, grid](const QModelIndex &, const QModelIndex &previous) {
                    if (!previous.isValid())
                        return;
                    if (const auto failure = model->commitRow(this->host().database(), previous.row()))
                        failure_message::show(this, *failure, {.lead = QStringLiteral("这一行没有保存。")});
                    else  // the stored row's totals may be wider than the column
                        grid->resizeColumnsToContents();
                });
        tabs_->addTab(grid, s.tab);
        grids_.push_back(grid);
        models_.push_back(model);
    }
    right->addWidget(new SearchBar(this, sheetGrids));
    right->addWidget(tabs_, 1);

    auto *bar = new QHBoxLayout;
    print_ = new QPushButton(QStringLiteral("打印工资表"), this);
    auto *printMenu = new QMenu(print_);
    const QStringList lists = {QStringLiteral("工资发放表"), QStringLiteral("补贴发放表"), QStringLiteral("奖金发放表")};
    for (int i = 0; i < lists.size(); ++i)
        printMenu->addAction(lists[i], this, [this, i] { printList(i); });
    print_->setMenu(printMenu);
    generate_ = new QPushButton(QStringLiteral("生成工资表"), this);
    auto *generateMenu = new QMenu(generate_);
    generateMenu->addAction(QStringLiteral("只复制上月工资表并追加新职工工资项"), this, [this] { copydata(true); });
    generateMenu->addAction(QStringLiteral("生成空白工资表"), this, [this] { copydata(false); });
    generate_->setMenu(generateMenu);
    auto *back = new QPushButton(QStringLiteral("返回"), this);
    connect(back, &QPushButton::clicked, this, &QWidget::close);
    bar->addWidget(print_);
    bar->addWidget(back);
    bar->addWidget(generate_);
    bar->addStretch();
    right->addLayout(bar);

    try {
        QList<QVariantList> rows;
        for (const code_items::Item &d : code_items::codeItems(host.database(), "dwdmb", {.before = "97"}))
            rows << QVariantList{d.code, d.name};
        departmentRows_->setRows(rows);
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.reading = true});
    }
    connect(departments_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &Tfrmgzlr::Datechange);
    connect(year_, &QSpinBox::valueChanged, this, &Tfrmgzlr::Datechange);
    connect(month_, &QSpinBox::valueChanged, this, &Tfrmgzlr::Datechange);
    departments_->selectRow(0);
    Datechange();
}

QDate Tfrmgzlr::month() const { return pay::firstDay(year_->value(), month_->value()); }

QString Tfrmgzlr::department() const
{
    const QModelIndex current = departments_->currentIndex();
    return current.isValid() ? departmentRows_->rows().at(current.row()).value(0).toString() : QString();
}

QString Tfrmgzlr::departmentName() const
{
    const QModelIndex current = departments_->currentIndex();
    return current.isValid() ? departmentRows_->rows().at(current.row()).value(1).toString() : QString();
}

void Tfrmgzlr::commitCurrentRows()
{
    // Leaving the current cell closes an open editor and stores a changed row, as moving to
    // another row does.
    for (QTableView *grid : grids_) {
        const QModelIndex current = grid->currentIndex();
        if (!current.isValid())
            continue;
        grid->setCurrentIndex({});
        grid->setCurrentIndex(current);
    }
}

void Tfrmgzlr::Datechange()
{
    commitCurrentRows();
    const QSqlDatabase db = host().database();
    try {
        const bool exists = pay::hasWages(db, month());
        print_->setEnabled(exists);
        generate_->setEnabled(!exists);
        const QStringList items = pay::salaryItemColumns(db);
        for (size_t i = 0; i < models_.size(); ++i) {
            const pay::Sheet &s = models_[i]->sheet();
            const QStringList extra = s.table == QStringLiteral("gzb") ? items : QStringList();
            models_[i]->setRows(exists ? pay::loadSheet(db, s, month(), department(), extra) : QList<pay::SheetRow>{}, extra);
            grids_[i]->resizeColumnsToContents();
            // The workbook says which month and department it holds (the tab follows).
            grid_export::setExportTitle(*grids_[i], QStringLiteral("职工工资表 %1 %2").arg(month().toString(QStringLiteral("yyyy年MM月")), departmentName()));
        }
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.reading = true});
    }
}

void Tfrmgzlr::copydata(bool carryPrevious)
{
    if (carryPrevious && !previousMonthHasSheet())
        return;
    QProgressDialog progress(QStringLiteral("正在生成%1年%2月的工资表…").arg(year_->value()).arg(month_->value()),
                             QString(), 0, 3, this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    int step = 0;
    bool existed = false;
    try {
        const WaitingBox waiting(host());
        // Nothing written while the month has wage rows: another operator generated it since
        // this screen looked.
        existed = pay::generateMonth(host().database(), month(), carryPrevious ? pay::Generation::CopyPrevious : pay::Generation::Blank,
                                     [&](const QString &) { progress.setValue(step++); }) == 0
                  && pay::hasWages(host().database(), month());
    } catch (const sql::Failure &e) {
        progress.reset();  // closed before the message, which it would otherwise cover
        failure_message::show(this, e, {.lead = QStringLiteral("工资表没有生成。")});
    }
    progress.setValue(3);
    if (existed)
        prompt::ask(QStringLiteral("生成提示"),
                    QStringLiteral("%1年%2月的工资表已经存在，没有重复生成。").arg(year_->value()).arg(month_->value()), false, this);
    Datechange();  // the new rows at once, rather than after the next move
}

bool Tfrmgzlr::previousMonthHasSheet()
{
    const QDate previous = month().addMonths(-1);
    try {
        if (pay::hasWages(host().database(), previous))
            return true;
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.reading = true});
        return false;
    }
    // Nothing to carry forward: the clerk may have meant another month.
    return prompt::ask(QStringLiteral("生成提示"),
                       QStringLiteral("%1年%2月没有工资表可复制，是否为本月生成空白工资表？")
                           .arg(previous.year()).arg(previous.month()),
                       true, this)
        == prompt::Ok;
}

void Tfrmgzlr::printList(int tab)
{
    commitCurrentRows();
    const PaySheetModel *model = models_.at(size_t(tab));
    report::preview(pay::layoutPayList(model->sheet().table, model->rows(), {month(), departmentName(), clock_source::today()}), this);
}

void Tfrmgzlr::stepDepartment(int step)
{
    const int row = departments_->currentIndex().row() + step;
    if (row >= 0 && row < departmentRows_->rowCount())
        departments_->selectRow(row);
}

void Tfrmgzlr::closeEvent(QCloseEvent *event)
{
    commitCurrentRows();
    FunctionScreen::closeEvent(event);
}
