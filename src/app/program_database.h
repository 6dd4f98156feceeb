#pragma once
// Opening the program's one database at start-up. A missing file is created only when the
// person agrees: a program moved without its database folder would otherwise show an empty
// organisation without a word, and somebody might start typing into it. A file other users of
// the machine may read is told, with the offer to make it the owner's alone.

#include "db/database.h"

#include <QString>

class QWidget;

namespace program_database {

struct Opened {
    database::OpenResult result;  // the shared connection's opening (not ok when declined)
    bool declined = false;        // the person chose not to create a missing file
};

Opened open(QWidget *parent, const QString &file);

}  // namespace program_database
