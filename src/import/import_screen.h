#pragma once
// "导入职工…": choose a staff list (or download the template), correct the proposed column
// mapping, choose what happens to codes already in the register, check every row (the preview
// lists each with "可导入" or its reasons), then import the good rows or none. Opened from the
// 职工花名册 menu as screen Tfrmzgdr, and as a dialog from the employee editor.

#include "app/function_screen.h"
#include "import/import_run.h"

#include <QSqlDatabase>
#include <QWidget>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTableWidget;
class ScreenRegistry;
class VerdictList;

class StaffImportPanel : public QWidget {
    Q_OBJECT
public:
    StaffImportPanel(const QSqlDatabase &db, QWidget *parent);

    void chooseFile();
    void downloadTemplate();
    void check();
    void importRows();

    void openFile(const QString &path);  // reads its headers and proposes the mapping
    QTableWidget *mappingTable() const { return mapping_; }
    QTableView *preview() const { return preview_; }
    QLabel *summary() const { return summary_; }
    QPushButton *button(const QString &caption) const;

signals:
    void imported();

private:
    staff_import::Mapping chosenMapping() const;
    staff_import::Existing existing() const;
    void reset();

    QSqlDatabase db_;
    QString path_;
    QStringList headers_;
    staff_import::Counts checked_;
    bool hasChecked_ = false;
    QLineEdit *file_;
    QTableWidget *mapping_;
    QButtonGroup *existing_;
    VerdictList *verdicts_;
    QTableView *preview_;
    QLabel *summary_;
    QPushButton *import_;
};

class Tfrmzgdr : public FunctionScreen {
    Q_OBJECT
public:
    explicit Tfrmzgdr(ScreenHost &host);
    StaffImportPanel *panel() const { return panel_; }

private:
    StaffImportPanel *panel_;
};

// The import as a dialog over `parent` (the employee editor); true when rows were imported.
bool importStaffDialog(const QSqlDatabase &db, QWidget *parent);

// "导出Excel…" of the employee editor: the register in the template's columns, to a file the
// clerk chooses (.xlsx or .csv), with progress and "取消".
void exportRegisterDialog(const QSqlDatabase &db, QWidget *parent);

void registerImportScreen(ScreenRegistry &registry);
