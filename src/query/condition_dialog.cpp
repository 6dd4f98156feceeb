#include "query/condition_dialog.h"

#include "app/failure_message.h"
#include "app/field_controls.h"
#include "app/title_strip.h"
#include "db/sql.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <memory>

namespace {

const QString kNoCondition = QStringLiteral("-- 无条件 --");
const QStringList kComparisons = {"等", "上", "下"};
const QString kStaffGroup = QStringLiteral("干部或普通员工");
// Lists that have no meaning for ordinary staff.
const QStringList kCadreLists = {"岗位技能", "职务级别", "技术分类", "职称级别"};

// The chosen item's code; the department list can also be typed into, and a typed text
// begins with the two-character code.
QString chosenCode(const QComboBox *list)
{
    const int item = list->findText(list->currentText());
    return item >= 0 ? list->itemData(item).toString() : list->currentText().trimmed().left(2);
}

std::optional<int> number(const QLineEdit *box)
{
    bool ok = false;
    const int value = box->text().trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

}  // namespace

std::optional<query::Condition> Tfrmzgcx::ask(const QSqlDatabase &db, QWidget *workArea, QWidget *parent)
{
    std::unique_ptr<Tfrmzgcx> dialog;
    try {
        dialog = std::make_unique<Tfrmzgcx>(db, workArea);
    } catch (const sql::Failure &e) {
        failure_message::show(parent, e, {.title = QStringLiteral("查询失败"), .reading = true});
        return std::nullopt;
    }
    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog->condition();
}

Tfrmzgcx::Tfrmzgcx(const QSqlDatabase &db, QWidget *workArea)
    : QDialog(workArea ? workArea->window() : nullptr), db_(db)
{
    setObjectName("Tfrmzgcx");
    setWindowTitle(QStringLiteral("模糊查询条件"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeTitleStrip(QStringLiteral("  模糊查询条件"), this));

    auto *grid = new QGridLayout;
    layout->addLayout(grid);
    int row = 0;
    const auto label = [&](const QString &text) { grid->addWidget(new QLabel(text, this), row, 0); };
    const auto numberBox = [&](const QString &key) {
        auto *box = new QLineEdit(this);
        box->setValidator(new QIntValidator(0, 150, box));
        box->setMaximumWidth(60);
        boxes_[key] = box;
        return box;
    };
    const auto rangeRow = [&](const QString &text) {
        label(text);
        auto *range = new QHBoxLayout;
        range->addWidget(new QLabel(QStringLiteral("从"), this));
        range->addWidget(numberBox(text + "从"));
        range->addWidget(new QLabel(QStringLiteral("到"), this));
        range->addWidget(numberBox(text + "到"));
        range->addStretch();
        grid->addLayout(range, row++, 1);
    };

    label(QStringLiteral("职工姓名"));
    boxes_["职工姓名"] = new QLineEdit(this);
    grid->addWidget(boxes_["职工姓名"], row, 1);
    addOptions(grid, row++, 2, "职工姓名", {"等", "匹配"});
    rangeRow(QStringLiteral("职工年龄"));
    addList(grid, row++, "文化程度", true);
    addList(grid, row++, "部门名称", false)->setEditable(true);
    rangeRow(QStringLiteral("职工工龄"));
    addList(grid, row++, "政治面貌", false);
    addList(grid, row++, "现任职务", false);
    label(kStaffGroup);
    addOptions(grid, row++, 1, kStaffGroup, {"全部", "干部", "普通职工"});
    addList(grid, row++, "岗位类别", false);
    addList(grid, row++, "岗位技能", true);
    addList(grid, row++, "职务级别", true);
    addList(grid, row++, "技术分类", false);
    addList(grid, row++, "职称级别", true);
    connect(groups_.at(kStaffGroup), &QButtonGroup::idClicked, this, &Tfrmzgcx::staffKindChosen);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (const auto &[caption, action] : std::initializer_list<std::pair<QString, void (Tfrmzgcx::*)()>>{
             {"查询", &Tfrmzgcx::search}, {"清除", &Tfrmzgcx::clear}, {"返回", &QDialog::reject}}) {
        auto *b = new QPushButton(caption, this);
        b->setAutoDefault(false);
        b->setDefault(action == &Tfrmzgcx::search);  // Enter searches, Escape is "返回"
        connect(b, &QPushButton::clicked, this, action);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);

    adjustSize();
    if (workArea)
        move(workArea->mapToGlobal(workArea->rect().center()) - rect().center());
}

QComboBox *Tfrmzgcx::addList(QGridLayout *grid, int row, const QString &label, bool comparisons)
{
    grid->addWidget(new QLabel(label, this), row, 0);
    auto *list = new QComboBox(this);
    edit::fillCodeList(list, query::listItems(db_, label), edit::Shown::CodeSpaceName, kNoCondition);
    list->setMinimumWidth(220);
    grid->addWidget(list, row, 1);
    lists_[label] = list;
    if (comparisons)
        addOptions(grid, row, 2, label, kComparisons);
    return list;
}

QButtonGroup *Tfrmzgcx::addOptions(QGridLayout *grid, int row, int column, const QString &group,
                                   const QStringList &captions)
{
    auto *buttons = new QButtonGroup(this);
    auto *line = new QHBoxLayout;
    for (int i = 0; i < captions.size(); ++i) {
        auto *b = new QRadioButton(captions[i], this);
        b->setChecked(i == 0);
        buttons->addButton(b, i);
        line->addWidget(b);
    }
    line->addStretch();
    grid->addLayout(line, row, column);
    groups_[group] = buttons;
    return buttons;
}

QRadioButton *Tfrmzgcx::option(const QString &group, const QString &caption) const
{
    for (QAbstractButton *b : groups_.at(group)->buttons())
        if (b->text() == caption)
            return qobject_cast<QRadioButton *>(b);
    return nullptr;
}

void Tfrmzgcx::staffKindChosen()
{
    const bool ordinary = groups_.at(kStaffGroup)->checkedId() == int(query::StaffKind::Ordinary);
    for (const QString &name : kCadreLists) {
        if (ordinary)
            lists_.at(name)->setCurrentIndex(0);
        lists_.at(name)->setEnabled(!ordinary);
    }
}

query::Choices Tfrmzgcx::choices() const
{
    const auto comparison = [this](const QString &group) {
        return query::Comparison(groups_.at(group)->checkedId());
    };
    query::Choices c;
    c.name = boxes_.at("职工姓名")->text();
    c.nameMatch = query::NameMatch(groups_.at("职工姓名")->checkedId());
    c.ageFrom = number(boxes_.at("职工年龄从"));
    c.ageTo = number(boxes_.at("职工年龄到"));
    c.serviceFrom = number(boxes_.at("职工工龄从"));
    c.serviceTo = number(boxes_.at("职工工龄到"));
    c.education = chosenCode(lists_.at("文化程度"));
    c.educationComparison = comparison("文化程度");
    c.department = chosenCode(lists_.at("部门名称"));
    c.position = chosenCode(lists_.at("现任职务"));
    c.positionLevel = chosenCode(lists_.at("职务级别"));
    c.positionLevelComparison = comparison("职务级别");
    c.technicalCategory = chosenCode(lists_.at("技术分类"));
    c.titleLevel = chosenCode(lists_.at("职称级别"));
    c.titleLevelComparison = comparison("职称级别");
    c.party = chosenCode(lists_.at("政治面貌"));
    c.staff = query::StaffKind(groups_.at(kStaffGroup)->checkedId());
    c.skillGrade = chosenCode(lists_.at("岗位技能"));
    c.skillGradeComparison = comparison("岗位技能");
    c.postCategory = chosenCode(lists_.at("岗位类别"));
    return c;
}

void Tfrmzgcx::search()
{
    condition_ = query::build(choices(), [this](const QString &label, const QString &code) {
        const QComboBox *list = lists_.at(label);
        const int item = list->findData(code);
        return item >= 0 ? list->itemText(item) : QString();
    });
    accept();
}

void Tfrmzgcx::clear()
{
    for (const auto &[name, box] : boxes_)
        box->clear();
    for (const auto &[name, list] : lists_)
        list->setCurrentIndex(0);
}
