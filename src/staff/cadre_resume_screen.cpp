#include "staff/cadre_resume_screen.h"

#include "app/character_limit.h"
#include "app/failure_message.h"
#include "app/grid_export.h"
#include "db/sql.h"
#include "records/employee_header.h"
#include "records/employee_search_panel.h"
#include "reports/print_preview.h"
#include "staff/photo_box.h"
#include "staff/resume_grid.h"
#include "staff/resume_report.h"
#include "staff/resume_workbook.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

using edit::Action;
using edit::Mode;
namespace resume = staff::resume;

namespace {

QLineEdit *shownBox(QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setReadOnly(true);
    return box;
}

QLabel *caption(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

QString textOf(const QWidget *box)
{
    if (auto *plain = qobject_cast<const QPlainTextEdit *>(box))
        return plain->toPlainText();
    if (auto *list = qobject_cast<const QComboBox *>(box))
        return list->currentText();
    return static_cast<const QLineEdit *>(box)->text();
}

// Only a changed text is set: setting one lays the box out anew, which moving between cadres
// would otherwise pay sixteen times over.
void setTextOf(QWidget *box, const QString &text)
{
    if (textOf(box) == text)
        return;
    if (auto *plain = qobject_cast<QPlainTextEdit *>(box))
        plain->setPlainText(text);
    else if (auto *list = qobject_cast<QComboBox *>(box))
        list->setCurrentText(text);
    else
        static_cast<QLineEdit *>(box)->setText(text);
}

}  // namespace

Tfrmgbllbj::Tfrmgbllbj(ScreenHost &host) : FunctionScreen(host, "Tfrmgbllbj")
{
    search_ = new EmployeeSearchPanel(host.database(), {records::ListBase::TechnicalCadres, EmployeeSearchPanel::Arrows::Absent}, this);
    header_ = new EmployeeHeader(this);
    bar_ = new edit::ModeBar({{Action::Modify, "编辑", [this] { edit(); }},
                              {Action::Save, "确定", [this] { confirm(); }},
                              {Action::Ignore, "忽略", [this] { ignore(); }},
                              {Action::Return, "返回", [this] { close(); }}},
                             {.minimumWidth = 80}, this);
    bar_->enable(search_, edit::ModeBar::When::Browsing);
    auto *print = new QPushButton(QStringLiteral("打印"), this);
    print->setMinimumWidth(80);
    connect(print, &QPushButton::clicked, this, &Tfrmgbllbj::print);
    bar_->enable(print, edit::ModeBar::When::Browsing);

    pages_ = new QTabWidget(this);
    for (const resume::Page &page : resume::pages())
        pages_->addTab(buildPage(page), page.tab);
    // The chosen tab's caption in blue (a style sheet would restyle every box of the nine pages,
    // at a cost paid on every opening).
    const auto highlightTab = [this](int chosen) {
        for (int i = 0; i < pages_->count(); ++i)
            pages_->tabBar()->setTabTextColor(i, i == chosen ? QColor(0, 0, 0xcc) : palette().color(QPalette::WindowText));
    };
    highlightTab(0);
    connect(pages_, &QTabWidget::currentChanged, this, [this, highlightTab](int chosen) {
        highlightTab(chosen);
        // Leaving a page leaves its lists: what was typed there is written.
        for (ResumeGrid *g : std::as_const(grids_))
            g->writeChanges();
    });

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(print);
    buttons->addStretch();
    buttons->addWidget(bar_);

    QVBoxLayout *right = layOutSearchScreen(this, QStringLiteral(" 干部履历表"), search_, header_);
    right->addWidget(pages_, 1);
    right->addLayout(buttons);
    // "导出Excel…" writes the résumé shown, as "打印" prints it, not the list of cadres.
    bar_->enable(grid_export::addScreenExportButton(*this, *print, [this] { exportResume(); }),
                 edit::ModeBar::When::Browsing);
    resize(host.workArea()->size().boundedTo(QSize(1120, 780)));

    connect(bar_, &edit::ModeBar::modeChanged, this, [this](Mode mode) {
        for (ResumeGrid *g : std::as_const(grids_))
            g->setEditable(mode != Mode::Browse);
    });
    bar_->setMode(Mode::Browse);
    connect(search_, &EmployeeSearchPanel::employeeChanged, this, &Tfrmgbllbj::showCadre);
    search_->start();
}

QWidget *Tfrmgbllbj::buildPage(const resume::Page &page)
{
    auto *content = new QWidget;
    auto *column = new QVBoxLayout(content);
    if (!page.heading.isEmpty()) {
        QLabel *heading = caption(page.heading, content);
        heading->setAlignment(Qt::AlignCenter);
        QFont bold = heading->font();
        bold.setBold(true);
        bold.setPointSizeF(bold.pointSizeF() * 1.2);
        heading->setFont(bold);
        column->addWidget(heading);
    }
    bool stretches = false;  // a page of lists gives them the height; a page of texts, its boxes
    for (const resume::Block &b : page.blocks) {
        switch (b.kind) {
        case resume::Block::Kind::Personal:
            column->addWidget(personalBlock());
            break;
        case resume::Block::Kind::Text: {
            auto *text = new QPlainTextEdit(content);
            text->setObjectName(b.column);
            text->setMinimumHeight(64);
            answers_.insert(b.column, text);
            bar_->enable(text, edit::ModeBar::When::ReadOnlyWhileBrowsing);
            column->addWidget(caption(b.caption, content));
            column->addWidget(text, 1);
            stretches = true;
            break;
        }
        case resume::Block::Kind::Grid: {
            if (!b.caption.isEmpty())
                column->addWidget(caption(b.caption, content));
            auto *grid = new ResumeGrid(host().database(), *b.grid, content);
            grid->setMinimumHeight(120);
            grids_.insert(b.grid->table, grid);
            column->addWidget(grid, 1);
            stretches = true;
            break;
        }
        case resume::Block::Kind::Spouse:
            column->addWidget(spouseBlock(b.caption));
            break;
        }
    }
    if (!stretches)
        column->addStretch();
    auto *scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(content);
    return scroll;
}

QWidget *Tfrmgbllbj::personalBlock()
{
    auto *block = new QWidget;
    auto *grid = new QGridLayout(block);
    grid->setContentsMargins(0, 0, 0, 0);
    const std::vector<resume::LabelledValue> &fields = resume::personalFields();
    for (size_t i = 0; i < fields.size(); ++i) {
        const int row = int(i) / 2, col = int(i % 2) * 2;
        QLineEdit *box = shownBox(block);
        personal_.insert(fields[i].column, box);
        grid->addWidget(new QLabel(fields[i].label, block), row, col);
        grid->addWidget(box, row, col + 1);
    }
    const int rows = int(fields.size() + 1) / 2;
    photo_ = new PhotoBox(block);
    grid->addWidget(photo_, 0, 4, rows, 1, Qt::AlignCenter);

    // No salary is kept with the résumé: its boxes stay empty.
    const resume::SalaryCaptions &salary = resume::salaryCaptions();
    auto *pay = new QGroupBox(salary.title, block);
    auto *payGrid = new QGridLayout(pay);
    const auto payRow = [&](int row, const QString &kind, const QStringList &labels) {
        payGrid->addWidget(new QLabel(kind, pay), row, 0);
        for (int k = 0; k < labels.size(); ++k) {
            payGrid->addWidget(new QLabel(labels[k], pay), row, 1 + 2 * k);
            payGrid->addWidget(shownBox(pay), row, 2 + 2 * k);
        }
    };
    payRow(0, salary.left, salary.leftLabels);
    payRow(1, salary.right, salary.rightLabels);
    grid->addWidget(pay, rows, 0, 1, 5);

    auto *work = new QHBoxLayout;
    work->addWidget(new QLabel(resume::kStartOfWorkCaption, block));
    for (const QString &c : {QStringLiteral("工作时间"), QStringLiteral("工作单位")}) {
        QLineEdit *box = shownBox(block);
        personal_.insert(c, box);
        work->addWidget(box, c == "工作单位" ? 2 : 1);
    }
    grid->addLayout(work, rows + 1, 0, 1, 5);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return block;
}

QWidget *Tfrmgbllbj::spouseBlock(const QString &title)
{
    auto *box = new QGroupBox(title);
    auto *grid = new QGridLayout(box);
    int slot = 0;
    for (const resume::LabelledValue &f : resume::spouseFields()) {
        QWidget *control;
        if (f.offered.isEmpty()) {
            control = new QLineEdit(box);
            character_limit::apply(static_cast<QLineEdit *>(control), 255);
        } else {
            auto *list = new QComboBox(box);
            list->setEditable(true);
            list->addItems(f.offered);
            character_limit::apply(list->lineEdit(), 255);
            control = list;
        }
        control->setObjectName(f.column);
        spouse_.insert(f.column, control);
        // Two a row; an unlabelled box (the salary's second line) stands beside the one before it.
        const int row = slot / 2, col = (slot % 2) * 2;
        if (!f.label.isEmpty())
            grid->addWidget(new QLabel(f.label, box), row, col);
        grid->addWidget(control, row, col + 1);
        ++slot;
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    bar_->enable(box, edit::ModeBar::When::ReadOnlyWhileBrowsing);
    return box;
}

void Tfrmgbllbj::showCadre(const QString &code, const QString &name)
{
    header_->showEmployee(code, name);
    code_ = code;
    std::optional<QMap<QString, QString>> personal;
    resume::Resume stored;
    try {
        if (!code.isEmpty()) {
            personal = resume::personalData(host().database(), code);
            stored = resume::loadResume(host().database(), code);
        }
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.reading = true});
    }
    for (auto it = personal_.cbegin(); it != personal_.cend(); ++it)
        it.value()->setText(personal ? personal->value(it.key()) : QString());
    photo_->showPhoto(personal ? personal->value("照片") : QString());
    showAnswers(stored);
    for (ResumeGrid *g : std::as_const(grids_))
        g->showCadre(code, stored.lists[g->rows()->grid().table]);
    bar_->setRowShown(!code.isEmpty());
}

void Tfrmgbllbj::showAnswers(const resume::Resume &resume)
{
    for (auto it = answers_.cbegin(); it != answers_.cend(); ++it)
        setTextOf(it.value(), resume.texts.value(it.key()));
    for (auto it = spouse_.cbegin(); it != spouse_.cend(); ++it)
        setTextOf(it.value(), resume.spouse.value(it.key()));
    spouseRowId_ = resume.spouseRowId;
}

void Tfrmgbllbj::edit()
{
    if (code_.isEmpty())
        return;
    bar_->setMode(Mode::Editing);
    pages_->currentWidget()->setFocus();
}

void Tfrmgbllbj::confirm()
{
    for (ResumeGrid *g : std::as_const(grids_))
        if (!g->writeChanges())
            return;
    QMap<QString, QString> texts, spouse;
    for (auto it = answers_.cbegin(); it != answers_.cend(); ++it)
        texts.insert(it.key(), textOf(it.value()));
    for (auto it = spouse_.cbegin(); it != spouse_.cend(); ++it)
        spouse.insert(it.key(), textOf(it.value()));
    try {
        spouseRowId_ = resume::saveAnswers(host().database(), code_, texts, spouse, spouseRowId_);
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.title = resume::kErrorTitle, .refusal = resume::kWrongInput});
        return;
    }
    leaveEditing();
}

void Tfrmgbllbj::ignore()
{
    // The lists' rows are written as they are left, so the ones typed so far stay; one that
    // cannot be written (reported) is dropped with the answers.
    for (ResumeGrid *g : std::as_const(grids_))
        g->writeChanges();
    leaveEditing();
    showCadre(code_, header_->name());
}

void Tfrmgbllbj::leaveEditing()
{
    bar_->setMode(Mode::Browse);
    search_->list()->setFocus();
}

void Tfrmgbllbj::closeEvent(QCloseEvent *event)
{
    // Closed with the rest of the program while editing: list rows are kept as on leaving them.
    if (bar_->mode() != Mode::Browse)
        for (ResumeGrid *g : std::as_const(grids_))
            g->writeChanges();
    FunctionScreen::closeEvent(event);
}

void Tfrmgbllbj::exportResume()
{
    if (code_.isEmpty())
        return;
    try {
        const std::optional<QMap<QString, QString>> personal = resume::personalData(host().database(), code_);
        if (!personal)
            return;
        const resume::Workbook book = resume::workbookOf(*personal, resume::loadResume(host().database(), code_));
        grid_export::exportTables(*this, book.tables,
                                  QStringLiteral("干部履历表 %1%2").arg(code_, personal->value("职工姓名")));
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.reading = true});
    }
}

void Tfrmgbllbj::print()
{
    if (code_.isEmpty())
        return;
    try {
        if (const auto document = resume::printedResume(host().database(), code_))
            report::preview(*document, this);
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.reading = true});
    }
}
