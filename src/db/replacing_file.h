#pragma once
// A file written whole or not at all, for writers that want a path rather than a QIODevice
// (SQLite, libxlsxwriter): they write a new side file beside the target, which is moved over
// the target only once complete. An earlier file of the target's name stays until then, and a
// failed write leaves nothing behind. The new file gets the usual permissions of new files.

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
    bool committed_ = false;
};
