#pragma once
// 公司培训情况统计: the courses dated from "起始日期" to "截止日期" (both included) that have
// participants, with their participant count, and under them the selected course's
// participants, shown or hidden by "显示详细信息" / "隐藏详细信息".

#include "app/date_range_boxes.h"
#include "app/function_screen.h"
#include "db/sorted_query_model.h"

class QDateEdit;
class QGroupBox;
class QPushButton;
class StripedGrid;

class Tfrmgspxqktj : public FunctionScreen {
    Q_OBJECT
public:
    explicit Tfrmgspxqktj(ScreenHost &host);

    QDateEdit *startPicker() const { return range_->fromBox(); }
    QDateEdit *endPicker() const { return range_->toBox(); }
    StripedGrid *courses() const { return courses_; }
    SortedQueryModel *courseRows() const { return courseRows_; }
    StripedGrid *participants() const { return participants_; }
    SortedQueryModel *participantRows() const { return participantRows_; }
    QGroupBox *participantFrame() const { return participantFrame_; }
    QPushButton *detailsButton() const { return details_; }

    // Lists the courses of the chosen range again.
    void showCourses();

private:
    void showParticipants();
    void toggleDetails();
    void print();

    DateRangeBoxes *range_;
    StripedGrid *courses_;
    SortedQueryModel *courseRows_;
    QGroupBox *participantFrame_;
    StripedGrid *participants_;
    SortedQueryModel *participantRows_;
    QPushButton *details_;
};
