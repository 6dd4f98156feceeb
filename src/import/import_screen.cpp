#include "import/import_screen.h"

#include "app/failure_message.h"
#include "app/file_choice.h"
#include "app/prompt.h"
#include "app/screen_registry.h"
#include "app/search_bar.h"
#include "app/striped_grid.h"
#include "app/title_strip.h"
#include "db/sql.h"
#include "import/import_columns.h"
#include "import/register_file.h"
#include "staff/employee_editor.h"

#include <QAbstractTableModel>
#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace staff_import;

namespace {
const QString kTitle = QStringLiteral("导入职工");
const QString kNotImported = QStringLiteral("（不导入）");
const QString kWorkbooks = QStringLiteral("职工名单 (*.xlsx *.xls *.csv)");

void tell(const QString &message, QWidget *parent) { prompt::ask(kTitle, message, false, parent); }

// Runs work under a progress dialog with "取消"; false when cancelled or refused (said).
bool withProgress(QWidget *parent, const QString &label, const std::function<void(const Progress &)> &work)
{
    QProgressDialog progress(label, QStringLiteral("取消"), 0, 1000, parent);
    progress.setWindowTitle(kTitle);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    try {
        work([&progress](double fraction) {
            progress.setValue(int(fraction * 1000));
            return !progress.wasCanceled();
        });
        return true;
    } catch (const Cancelled &) {
        progress.reset();  // closed before the message, which it would otherwise cover
        tell(QStringLiteral("已取消，未写入任何内容。"), parent);
    } catch (const FileError &e) {
        progress.reset();
        tell(e.message(), parent);
    } catch (const sql::Failure &e) {
        progress.reset();
        failure_message::show(parent, e, {.title = kTitle});
    }
    return false;
}
}  // namespace

// The preview: one line per row, its number, code, name and verdict; long files stay light
// (four short texts a row).
class VerdictList : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;
    void clear()
    {
        beginResetModel();
        rows_.clear();
        endResetModel();
    }
    void append(const Verdict &v) { pending_.push_back({QString::number(v.line), v.code, v.name, v.outcome()}); }
    void show()
    {
        beginResetModel();
        rows_ = std::move(pending_);
        pending_.clear();
        endResetModel();
    }
    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(rows_.size()); }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : 4; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::DisplayRole)
            return rows_[index.row()][index.column()];
        if (role == Qt::ForegroundRole && index.column() == 3 && !rows_[index.row()][3].startsWith(QStringLiteral("可导入")))
            return QColor(Qt::red);
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        return QStringList{"行", "职工编码", "职工姓名", "检查结果"}.value(section);
    }

private:
    std::vector<std::array<QString, 4>> rows_, pending_;
};

StaffImportPanel::StaffImportPanel(const QSqlDatabase &db, QWidget *parent) : QWidget(parent), db_(db)
{
    file_ = new QLineEdit(this);
    file_->setReadOnly(true);
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(QStringLiteral("职工名单文件："), this));
    fileRow->addWidget(file_, 1);
    const auto addButton = [this](QBoxLayout *row, const QString &caption, void (StaffImportPanel::*slot)()) {
        auto *b = new QPushButton(caption, this);
        connect(b, &QPushButton::clicked, this, slot);
        row->addWidget(b);
        return b;
    };
    addButton(fileRow, QStringLiteral("选择文件…"), &StaffImportPanel::chooseFile);
    addButton(fileRow, QStringLiteral("下载导入模板"), &StaffImportPanel::downloadTemplate);

    mapping_ = new QTableWidget(0, 2, this);
    mapping_->setHorizontalHeaderLabels({QStringLiteral("职工信息"), QStringLiteral("文件中的列")});
    mapping_->horizontalHeader()->setStretchLastSection(true);
    mapping_->verticalHeader()->hide();
    mapping_->setFixedWidth(330);
    for (const Column &c : templateColumns()) {
        const int row = mapping_->rowCount();
        mapping_->insertRow(row);
        mapping_->setItem(row, 0, new QTableWidgetItem(c.title));
        mapping_->item(row, 0)->setFlags(Qt::ItemIsEnabled);
        auto *choice = new QComboBox(mapping_);
        connect(choice, &QComboBox::activated, this, &StaffImportPanel::reset);
        mapping_->setCellWidget(row, 1, choice);
    }

    auto *existingRow = new QHBoxLayout;
    existingRow->addWidget(new QLabel(QStringLiteral("已在花名册中的职工编码："), this));
    existing_ = new QButtonGroup(this);
    for (const auto &[caption, id] : {std::pair{QStringLiteral("跳过"), int(Existing::Skip)},
                                      std::pair{QStringLiteral("更新其信息"), int(Existing::Update)}}) {
        auto *b = new QRadioButton(caption, this);
        existing_->addButton(b, id);
        existingRow->addWidget(b);
    }
    existing_->button(int(Existing::Skip))->setChecked(true);
    connect(existing_, &QButtonGroup::idClicked, this, &StaffImportPanel::reset);
    existingRow->addStretch(1);
    addButton(existingRow, QStringLiteral("检查"), &StaffImportPanel::check);
    import_ = addButton(existingRow, QStringLiteral("导入"), &StaffImportPanel::importRows);

    verdicts_ = new VerdictList(this);
    auto *preview = new StripedGrid(this);
    preview_ = preview;
    preview_->setModel(verdicts_);
    preview_->horizontalHeader()->setStretchLastSection(true);
    summary_ = new QLabel(this);

    auto *lists = new QHBoxLayout;
    lists->addWidget(mapping_);
    auto *previewColumn = new QVBoxLayout;
    previewColumn->addWidget(new SearchBar(this, {preview}));  // a row of a long file by code or name
    previewColumn->addWidget(preview_, 1);
    previewColumn->addWidget(summary_);
    lists->addLayout(previewColumn, 1);
    auto *column = new QVBoxLayout(this);
    column->addLayout(fileRow);
    column->addLayout(lists, 1);
    column->addLayout(existingRow);
    reset();
}

QPushButton *StaffImportPanel::button(const QString &caption) const
{
    for (QPushButton *b : findChildren<QPushButton *>())
        if (b->text() == caption)
            return b;
    return nullptr;
}

void StaffImportPanel::reset()
{
    hasChecked_ = false;
    verdicts_->clear();
    summary_->setText(path_.isEmpty() ? QStringLiteral("请选择职工名单文件（.xlsx、.xls 或 .csv）。")
                                      : QStringLiteral("请核对各列的对照，然后按“检查”。"));
    import_->setEnabled(false);
}

void StaffImportPanel::chooseFile()
{
    const QString path = file_choice::choose(this, {file_choice::Purpose::Open, QStringLiteral("选择职工名单"), {}, kWorkbooks});
    if (!path.isEmpty())
        openFile(path);
}

void StaffImportPanel::openFile(const QString &path)
{
    try {
        headers_ = readHeaders(path);
    } catch (const FileError &e) {
        tell(e.message(), this);
        return;
    }
    path_ = path;
    file_->setText(path);
    const Mapping proposed = proposeMapping(headers_, rememberedChoices());
    for (int row = 0; row < mapping_->rowCount(); ++row) {
        auto *choice = static_cast<QComboBox *>(mapping_->cellWidget(row, 1));
        choice->clear();
        choice->addItem(kNotImported, -1);
        for (int h = 0; h < headers_.size(); ++h)
            if (!headers_[h].isEmpty())
                choice->addItem(headers_[h], h);
        choice->setCurrentIndex(std::max(0, choice->findData(proposed[row])));
    }
    reset();
}

Mapping StaffImportPanel::chosenMapping() const
{
    Mapping mapping;
    for (int row = 0; row < mapping_->rowCount(); ++row)
        mapping.push_back(static_cast<QComboBox *>(mapping_->cellWidget(row, 1))->currentData().toInt());
    return mapping;
}

Existing StaffImportPanel::existing() const { return Existing(existing_->checkedId()); }

void StaffImportPanel::downloadTemplate()
{
    const QString path = file_choice::choose(this, {file_choice::Purpose::Save, QStringLiteral("保存导入模板"),
                                                    QStringLiteral("职工导入模板.xlsx"), QStringLiteral("Excel 工作簿 (*.xlsx)")},
                                             ".xlsx");
    if (path.isEmpty())
        return;
    if (withProgress(this, QStringLiteral("正在写入模板…"), [&](const Progress &) { writeTemplate(db_, path); }))
        tell(QStringLiteral("导入模板已保存：%1").arg(path), this);
}

void StaffImportPanel::check()
{
    if (path_.isEmpty()) {
        chooseFile();
        if (path_.isEmpty())
            return;
    }
    const Mapping mapping = chosenMapping();
    reset();
    const bool done = withProgress(this, QStringLiteral("正在检查每一行…"), [&](const Progress &progress) {
        checked_ = checkFile(db_, path_, mapping, existing(), [this](const Verdict &v) { verdicts_->append(v); },
                             progress);
    });
    verdicts_->show();
    if (!done) {
        verdicts_->clear();
        return;
    }
    rememberChoices(choicesOf(headers_, mapping));
    hasChecked_ = true;
    summary_->setText(checked_.text(true).replace(QStringLiteral("（试运行，未写入）"), QString())
                      + (checked_.accepted() ? QStringLiteral("。按“导入”写入可导入的行，其余各行不导入。")
                                             : QStringLiteral("。没有可导入的行。")));
    import_->setEnabled(checked_.accepted() > 0);
}

void StaffImportPanel::importRows()
{
    if (!hasChecked_ || checked_.accepted() == 0)
        return;
    Counts written;
    const bool done = withProgress(this, QStringLiteral("正在导入…"), [&](const Progress &progress) {
        written = importFile(db_, path_, chosenMapping(), existing(), checked_, progress);
    });
    reset();
    if (!done)
        return;
    summary_->setText(written.text());
    tell(written.text(), this);
    emit imported();
}

Tfrmzgdr::Tfrmzgdr(ScreenHost &host) : FunctionScreen(host, "Tfrmzgdr")
{
    panel_ = new StaffImportPanel(host.database(), this);
    auto *back = new QPushButton(QStringLiteral("返回"), this);
    connect(back, &QPushButton::clicked, this, &QWidget::close);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(back);
    auto *column = new QVBoxLayout(this);
    column->addWidget(makeTitleStrip(QStringLiteral("  职工花名册 >> 导入职工"), this));
    column->addWidget(panel_, 1);
    column->addLayout(bottom);
    resize(host.workArea()->size().boundedTo(QSize(1100, 720)));
}

bool importStaffDialog(const QSqlDatabase &db, QWidget *parent)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(kTitle);
    auto *panel = new StaffImportPanel(db, &dialog);
    auto *column = new QVBoxLayout(&dialog);
    column->addWidget(panel);
    bool imported = false;
    QObject::connect(panel, &StaffImportPanel::imported, &dialog, [&imported] { imported = true; });
    dialog.resize(1000, 640);
    dialog.exec();
    return imported;
}

void exportRegisterDialog(const QSqlDatabase &db, QWidget *parent)
{
    QString path = file_choice::choose(parent, {file_choice::Purpose::Save, QStringLiteral("导出职工花名册"),
                                                QStringLiteral("职工花名册.xlsx"),
                                                QStringLiteral("Excel 工作簿 (*.xlsx);;CSV 文件 (*.csv)")});
    if (path.isEmpty())
        return;
    if (!path.endsWith(".csv", Qt::CaseInsensitive) && !path.endsWith(".xlsx", Qt::CaseInsensitive))
        path += ".xlsx";
    int written = 0;
    if (withProgress(parent, QStringLiteral("正在导出…"),
                     [&](const Progress &progress) { written = exportRegister(db, path, progress); }))
        prompt::ask(QStringLiteral("导出Excel"), QStringLiteral("已导出 %1 名职工：%2").arg(written).arg(path), false, parent);
}

void registerImportScreen(ScreenRegistry &registry)
{
    registry.add("Tfrmzgdr", {Placement::Stored, [](ScreenHost &host) { return new Tfrmzgdr(host); }});
    // The employee editor, registered before, gets "导入职工…" and "导出Excel…" from here, so
    // the editor's folder need not know of the import built on it.
    const ScreenEntry *editor = registry.find("Tfrmzglr");
    if (!editor)
        return;
    registry.add("Tfrmzglr", {editor->placement, [create = editor->create](ScreenHost &host) {
                                  FunctionScreen *screen = create(host);
                                  auto *staff = static_cast<Tfrmzglr *>(screen);
                                  staff->addBrowsingButton(QStringLiteral("导入职工…"), [staff, &host] {
                                      if (importStaffDialog(host.database(), staff))
                                          staff->refresh();
                                  });
                                  staff->addBrowsingButton(QStringLiteral("导出Excel…"), [staff, &host] {
                                      exportRegisterDialog(host.database(), staff);
                                  });
                                  return screen;
                              }});
}
