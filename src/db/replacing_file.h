#pragma once
// A file written whole or not at all, for writers that want a path rather than a QIODevice
// (SQLite, libxlsxwriter): they write a new side file beside the target, which is moved over
// the target only once complete. An earlier file of the target's name stays until then, and a
// failed write leaves nothing behind. The side file (and the journal or log SQLite keeps beside
// it) is readable by its owner only while it is written; the finished file gets the usual
// permissions of new files.

#include <QString>

class ReplacingFile {
public:
    explicit ReplacingFile(const QString &target);
    ~ReplacingFile();  // removes the side file unless it was committed
    ReplacingFile(const ReplacingFile &) = delete;
    ReplacingFile &operator=(const ReplacingFile &) = delete;

    // The empty side file to write; empty when it could not be created (see error()).
    const QString &path() const { return path_; }
    const QString &error() const { return error_; }

    // Moves the side file over the target; false with error() set.
    bool commit();

private:
    QString target_;
    QString path_;
    QString error_;
    int lock_ = -1;  // held while the side file is written, so no cleanup takes it for a leftover
    bool committed_ = false;
};

namespace replacing_file {

// Removes the side files (".name.<id>.part" and SQLite's -journal, -wal and -shm beside them)
// that a killed writer left in `folder`; those of a writer still running are kept.
void removeLeftovers(const QString &folder);

}  // namespace replacing_file
