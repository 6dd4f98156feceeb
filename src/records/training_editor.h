#pragma once
// The training records editor: the courses on the left, the selected course's participants on
// the right, divided by a movable splitter. Each side has its grid, "添加", "删除", "修改" and an
// edit box shown only while a row of that side is added or changed; the other side is
// disabled meanwhile.

#include "app/edit_fields.h"
#include "app/edit_modes.h"
#include "app/function_screen.h"
#include "db/sorted_query_model.h"

#include <optional>
#include <vector>

class QGroupBox;
class QSplitter;
class StripedGrid;

class Tfrmpxjlbj : public FunctionScreen {
    Q_OBJECT
public:
    explicit Tfrmpxjlbj(ScreenHost &host);

    // One side: courses or participants.
    struct Side {
        QGroupBox *frame = nullptr;
        StripedGrid *grid = nullptr;
        SortedQueryModel *model = nullptr;
        edit::ModeBar *bar = nullptr;
        QGroupBox *box = nullptr;
        const edit::Fields *fields = nullptr;
        std::vector<QWidget *> controls;  // in the order of the fields
        QWidget *control(const QString &key) const;
        std::optional<int> currentRow() const;
    };
    enum SideIndex { Courses, Participants };

    const Side &side(SideIndex which) const { return sides_[which]; }
    QSplitter *divider() const { return divider_; }
    QString currentCourse() const;

    void add(SideIndex which);
    void modify(SideIndex which);
    void save(SideIndex which);
    void ignore(SideIndex which);
    void remove(SideIndex which);

private:
    void buildSide(SideIndex which, const QString &title, const QString &boxTitle, const edit::Fields &fields);
    void reloadCourses(const QString &select);
    void reloadParticipants(std::optional<qint64> select);
    void finishEditing(SideIndex which);

    Side sides_[2];
    QSplitter *divider_;
    std::optional<QString> editedCourse_;      // the course being changed; none while adding
    std::optional<qint64> editedParticipant_;  // likewise the participant row
};
