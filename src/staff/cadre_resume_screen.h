#pragma once
// The cadre résumé editor Tfrmgbllbj: the cadre list with its search on the left, the nine
// pages of the résumé on the right. Browsing shows the pages locked; "编辑" unlocks them (the
// answers and the spouse kept until "确定" or "忽略", the lists written row by row); "打印"
// previews the whole résumé.

#include "app/edit_modes.h"
#include "app/function_screen.h"
#include "staff/cadre_resume.h"

#include <QMap>
#include <optional>

class EmployeeHeader;
class EmployeeSearchPanel;
class PhotoBox;
class QLineEdit;
class QTabWidget;
class ResumeGrid;

class Tfrmgbllbj : public FunctionScreen {
    Q_OBJECT
public:
    explicit Tfrmgbllbj(ScreenHost &host);

    EmployeeSearchPanel *search() const { return search_; }
    QTabWidget *pages() const { return pages_; }
    edit::ModeBar *bar() const { return bar_; }
    PhotoBox *photo() const { return photo_; }
    QLineEdit *personalBox(const QString &column) const { return personal_.value(column); }
    QWidget *answerBox(const QString &column) const { return answers_.value(column); }
    QWidget *spouseBox(const QString &column) const { return spouse_.value(column); }
    ResumeGrid *grid(const QString &table) const { return grids_.value(table); }
    QString cadre() const { return code_; }

    void edit();
    void confirm();
    void ignore();
    void print();
    // "导出Excel…": the résumé shown, one sheet per page.
    void exportResume();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *buildPage(const staff::resume::Page &page);
    QWidget *personalBlock();
    QWidget *spouseBlock(const QString &caption);
    void showCadre(const QString &code, const QString &name);
    void showAnswers(const staff::resume::Resume &resume);
    void leaveEditing();

    EmployeeSearchPanel *search_;
    EmployeeHeader *header_;
    QTabWidget *pages_;
    edit::ModeBar *bar_;
    PhotoBox *photo_ = nullptr;
    QMap<QString, QLineEdit *> personal_;  // zghmc column (or name) → read-only box
    QMap<QString, QWidget *> answers_;     // gbllb column → text box
    QMap<QString, QWidget *> spouse_;      // pojlb column → box
    QMap<QString, ResumeGrid *> grids_;    // table → grid
    QString code_;
    std::optional<qint64> spouseRowId_;
};
