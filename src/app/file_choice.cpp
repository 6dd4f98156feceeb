#include "app/file_choice.h"

#include <QFileDialog>

namespace file_choice {
namespace {

Chooser &installed()
{
    static Chooser chooser;
    return chooser;
}

}  // namespace

void setChooser(Chooser chooser) { installed() = std::move(chooser); }

QString choose(QWidget *parent, const Request &request, const QString &suffix)
{
    QString file;
    if (installed())
        file = installed()(request);
    else if (request.purpose == Purpose::Save)
        file = QFileDialog::getSaveFileName(parent, request.caption, request.suggested, request.filter);
    else
        file = QFileDialog::getOpenFileName(parent, request.caption, request.suggested, request.filter);
    if (!file.isEmpty() && request.purpose == Purpose::Save && !suffix.isEmpty()
        && !file.endsWith(suffix, Qt::CaseInsensitive))
        file += suffix;
    return file;
}

}  // namespace file_choice
