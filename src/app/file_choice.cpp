#include "app/file_choice.h"

#include "app/operator_settings.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace file_choice {
namespace {

Chooser &installed()
{
    static Chooser chooser;
    return chooser;
}

QString folderKey(const Request &request) { return "folders/" + request.caption; }

// The suggested file in the folder this dialog was last left in, or the suggestion itself.
QString inRememberedFolder(const Request &request)
{
    const QString folder = operator_settings::value(folderKey(request)).toString();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return request.suggested;
    const QFileInfo suggested(request.suggested);
    return suggested.isDir() || request.suggested.isEmpty() ? folder : QDir(folder).filePath(suggested.fileName());
}

}  // namespace

void setChooser(Chooser chooser) { installed() = std::move(chooser); }

QString choose(QWidget *parent, const Request &request, const QString &suffix)
{
    Request asked = request;
    asked.suggested = inRememberedFolder(request);
    QString file;
    if (installed())
        file = installed()(asked);
    else if (asked.purpose == Purpose::Save)
        file = QFileDialog::getSaveFileName(parent, asked.caption, asked.suggested, asked.filter);
    else
        file = QFileDialog::getOpenFileName(parent, asked.caption, asked.suggested, asked.filter);
    if (!file.isEmpty())
        operator_settings::setValue(folderKey(request), QFileInfo(file).absolutePath());
    if (!file.isEmpty() && request.purpose == Purpose::Save && !suffix.isEmpty()
        && !file.endsWith(suffix, Qt::CaseInsensitive))
        file += suffix;
    return file;
}

}  // namespace file_choice
