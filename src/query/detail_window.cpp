#include "query/detail_window.h"

#include "query/condition_list.h"

DetailWindow::DetailWindow(ConditionList *list, ScreenHost &host, QString className, Show show)
    : QObject(list), host_(host), className_(std::move(className)), show_(std::move(show))
{
    connect(list, &ConditionList::currentRowChanged, this, [this, list] {
        if (window_)
            show_(window_, list->currentValue("职工编码"));
    });
}

DetailWindow::~DetailWindow()
{
    if (window_)
        window_->close();
}

void DetailWindow::open(const QString &code)
{
    if (window_) {
        show_(window_, code);
        window_->raise();
        return;
    }
    window_ = host_.openWindow(className_, code);
}
