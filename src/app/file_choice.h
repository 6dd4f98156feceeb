#pragma once
// The save and open file dialogs of the program. Tests install a chooser that answers in
// place of the dialog and reads what was asked.

#include "db/scoped_hook.h"

#include <QString>
#include <functional>

class QWidget;

namespace file_choice {

enum class Purpose { Save, Open };

struct Request {
    Purpose purpose;
    QString caption;
    QString suggested;  // a file name or folder to start from
    QString filter;     // "Excel 工作簿 (*.xlsx)"
};

// The chosen file, empty when the person cancelled; the dialog starts in the folder the operator
// last chose a file in with a dialog of the same caption. A save without the filter's suffix gets
// `suffix` appended.
QString choose(QWidget *parent, const Request &request, const QString &suffix = {});

using Chooser = std::function<QString(const Request &)>;
void setChooser(Chooser chooser);  // empty shows the real dialogs again
using ScopedChooser = ScopedHook<Chooser, &setChooser>;

}  // namespace file_choice
