#pragma once
// The files the program writes hold pay, appraisals and family members: only their owner may
// read them, whatever the umask of whoever started the program.

#include <QString>
#include <QStringList>

namespace private_files {

// Every file this process creates from now on starts readable by its owner only (umask 077);
// the program and the admin tool call it first thing.
void restrictNewFiles();

// Makes a written file readable and writable by its owner only. False when it cannot be.
bool restrict(const QString &path);

// The database and those of its side files (-wal, -shm, -journal) that group or others may read.
QStringList readableByOthers(const QString &databasePath);

// restrict() on each of them; false when one cannot be.
bool restrictDatabase(const QString &databasePath);

inline const QString kWarning = QStringLiteral(
    "数据库文件可以被本机其他用户读取：%1\n其中有工资、考核、奖惩和家庭成员等个人资料。\n是否改为只有您能读写？");

}  // namespace private_files
