#pragma once
// The employee's detail panel as data: every field with its section, caption, stored column,
// kind of control and the code table it looks up. The editor builds its controls from this
// table, the personal information sheet shows the same fields, and saving, loading and the
// checks all walk it, so a field is described once.

#include <QString>
#include <QStringList>
#include <vector>

namespace staff {

inline const QString kMasterTable = QStringLiteral("zghmc");

enum class Control {
    Text,        // free text, as long as its column allows
    Date,        // date text yyyy-MM-dd (may be typed as 2003-6-1)
    MaskedDate,  // date text under the mask "0000-00-00"
    Choice,      // pick-only list of fixed items
    Lookup,      // drop-down of a code table: shows the name, stores the code
    Money,       // yuan, exact to 1/10000
};

struct Lookup {
    QString table;
    QString key;
    QString shown;
    // Rows offered only when `filterColumn` equals the value of the field `filterField`.
    QString filterColumn = {};
    QString filterField = {};
};

struct Field {
    QString section;
    QString label;
    QString table;   // zghmc, or the history table of the entry-time row
    QString column;
    Control control;
    QStringList choices = {};
    Lookup lookup = {};

    // How records, widgets and the sheet name the field: the column for the master row,
    // "table.column" for a history row.
    QString key() const;
    int width() const;  // characters the column holds; 0 when unlimited or not text
};

const std::vector<Field> &detailFields();
const Field *findField(const QString &key);
QStringList detailSections();  // in screen order

// Master columns without a control of their own in the detail panel.
inline const QString kPhotoColumn = QStringLiteral("照片");
inline const QString kResumeColumn = QStringLiteral("职工简介");

// The entry-time history rows in the order a save writes them.
const QStringList &entryHistoryTables();

}  // namespace staff
