#pragma once
// The cadre résumé: the nine pages of the form described once (what each page holds, in
// order), which the editor shows and the printed résumé prints; one cadre's personal data and
// résumé rows read, and the résumé written. Seven tables keyed by 职工编码 hold it: gbllb (the
// free-text answers, one row), pojlb (the spouse, one row) and five lists (jtcyb, gwgxb, hyjlb,
// gzjlb, xxjlb), whose rows are told apart by SQLite's rowid.

#include <QMap>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <map>
#include <optional>
#include <vector>

namespace staff::resume {

// A column of a résumé list with its heading and the values offered for it (typed values
// are kept as well).
struct GridColumn {
    QString column;
    QString heading;
    QStringList offered = {};
};

struct Grid {
    QString table;
    std::vector<GridColumn> columns;
};

// A labelled value of the personal data or the spouse.
struct LabelledValue {
    QString label;
    QString column;
    QStringList offered = {};
};

// What a page holds, top to bottom.
struct Block {
    enum class Kind {
        Personal,  // the personal data of zghmc (read-only), the photo, the salary captions
        Text,      // a free-text answer of gbllb under its question
        Grid,      // a list under its caption
        Spouse,    // the pojlb row
    };
    Kind kind;
    QString caption;
    QString column = {};      // Text: the gbllb column
    const Grid *grid = nullptr;
};

struct Page {
    QString tab;      // "第一页" … "第九页"
    QString heading;  // over the page; empty for none
    std::vector<Block> blocks;
};

const std::vector<Page> &pages();
const std::vector<Grid> &grids();  // the five lists, in the order their pages show them
const Grid *findGrid(const QString &table);

// The personal data of the first page, in the order shown, by key of personalData(); the
// department and position pair is shown as one value under "单位职务".
const std::vector<LabelledValue> &personalFields();
// The salary block "工资情况" has captions only: no salary is kept with the résumé.
struct SalaryCaptions {
    QString title;
    QString left;   // "职务工资"
    QString right;  // "级别工资"
    QStringList leftLabels;
    QStringList rightLabels;
};
const SalaryCaptions &salaryCaptions();
// "何年何月何处参加工作": zghmc.工作时间 and 工作单位.
inline const QString kStartOfWorkCaption = QStringLiteral("何年何月何处参加工作");
const std::vector<LabelledValue> &spouseFields();

// The cadre's personal data by column name of zghmc (dates yyyy-MM-dd) plus 民族名称,
// 文化程度名称, 单位名称, 职务名称 and 单位职务 (department and position); nullopt when there is
// no such employee. A code that resolves to nothing leaves its name blank. Throws sql::Failure.
std::optional<QMap<QString, QString>> personalData(const QSqlDatabase &db, const QString &code);

// A row of a list; rowId 0: not stored yet.
struct GridRow {
    qint64 rowId = 0;
    QStringList values;  // in the grid's column order
    bool isBlank() const;
};

struct Resume {
    QMap<QString, QString> texts;  // gbllb column → text
    QMap<QString, QString> spouse; // pojlb column → text
    std::optional<qint64> spouseRowId;
    std::map<QString, QList<GridRow>> lists;  // table → rows in stored order
};

// Everything of the cadre's résumé. Throws sql::Failure.
Resume loadResume(const QSqlDatabase &db, const QString &code);

// Writes the spouse row, then the answers row, in one transaction: both or neither. A cadre
// without them gets new ones. Returns the spouse row's rowid. Throws sql::Failure.
qint64 saveAnswers(const QSqlDatabase &db, const QString &code, const QMap<QString, QString> &texts,
                   const QMap<QString, QString> &spouse, std::optional<qint64> spouseRowId);

// Writes one list row (inserted when new) and returns its rowid; deletes one. Each in its own
// transaction. Throws sql::Failure.
qint64 writeGridRow(const QSqlDatabase &db, const Grid &grid, const QString &code, const GridRow &row);
void deleteGridRow(const QSqlDatabase &db, const Grid &grid, const QString &code, qint64 rowId);

}  // namespace staff::resume
