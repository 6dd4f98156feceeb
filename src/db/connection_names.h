#pragma once
// A set of connection names that connections on different threads (two clerks' work in one
// process) may change at once.

#include <QMutex>
#include <QMutexLocker>
#include <QSet>
#include <QString>

class ConnectionNames {
public:
    void insert(const QString &name)
    {
        const QMutexLocker lock(&mutex_);
        names_.insert(name);
    }
    void remove(const QString &name)
    {
        const QMutexLocker lock(&mutex_);
        names_.remove(name);
    }
    bool contains(const QString &name) const
    {
        const QMutexLocker lock(&mutex_);
        return names_.contains(name);
    }

private:
    mutable QMutex mutex_;
    QSet<QString> names_;
};
