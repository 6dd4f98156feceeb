#include "app/failure_message.h"
#include "app/backup_screen.h"

#include "app/file_choice.h"
#include "app/notify.h"
#include "app/prompt.h"
#include "app/screen_registry.h"
#include "app/title_strip.h"
#include "db/address.h"
#include "db/backup.h"
#include "db/change_log.h"
#include "db/clock.h"
#include "db/sql.h"
#include "db/database.h"

#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("数据备份与恢复");
const QString kBackupFilter = QStringLiteral("数据库备份 (*.db);;所有文件 (*)");

QGroupBox *section(const QString &title, const QString &text, QPushButton *button, QWidget *parent)
{
    auto *box = new QGroupBox(title, parent);
    auto *row = new QHBoxLayout(box);
    auto *label = new QLabel(text, box);
    label->setWordWrap(true);
    row->addWidget(label, 1);
    button->setMinimumSize(110, 30);
    row->addWidget(button);
    return box;
}

}  // namespace

Tfrmsjbf::Tfrmsjbf(ScreenHost &host) : FunctionScreen(host, QStringLiteral("Tfrmsjbf"))
{
    setWindowTitle(kTitle);
    setFixedSize(560, 330);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 8);
    column->addWidget(makeTitleStrip(QStringLiteral("  基础数据维护 >> ") + kTitle, this));

    auto *body = new QVBoxLayout;
    body->setContentsMargins(10, 6, 10, 0);
    auto *current = new QLabel(QStringLiteral("当前数据库：%1").arg(QDir::toNativeSeparators(database::configuredAddress().shown())), this);
    current->setWordWrap(true);
    current->setTextInteractionFlags(Qt::TextSelectableByMouse);
    body->addWidget(current);
    auto *backUpButton = new QPushButton(QStringLiteral("备份数据…"), this);
    connect(backUpButton, &QPushButton::clicked, this, &Tfrmsjbf::backUp);
    body->addWidget(section(QStringLiteral("数据备份"),
                            QStringLiteral("把当前数据库完整复制到所选文件。程序运行中随时可以备份。"), backUpButton, this));
    auto *restoreButton = new QPushButton(QStringLiteral("恢复数据…"), this);
    connect(restoreButton, &QPushButton::clicked, this, &Tfrmsjbf::restore);
    body->addWidget(section(QStringLiteral("数据恢复"),
                            database::configuredAddress().isServer()
                                ? QStringLiteral("用所选备份文件替换服务器上的全部数据。恢复前的数据先另存在程序的database文件夹中。")
                                : QStringLiteral("用所选备份文件替换当前的全部数据。恢复前的数据先另存在数据库所在的文件夹中。"),
                            restoreButton, this));
    column->addLayout(body, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *back = new QPushButton(QStringLiteral("返回"), this);
    back->setMinimumSize(96, 30);
    connect(back, &QPushButton::clicked, this, &Tfrmsjbf::close);
    buttons->addWidget(back);
    buttons->addSpacing(10);
    column->addLayout(buttons);
}

void Tfrmsjbf::backUp()
{
    const QString suggested = QStringLiteral("wenpad-备份-%1.db").arg(clock_source::today().toString(Qt::ISODate));
    const QString file = file_choice::choose(
        this, {file_choice::Purpose::Save, QStringLiteral("数据备份"), QDir::home().filePath(suggested), kBackupFilter},
        QStringLiteral(".db"));
    if (file.isEmpty())
        return;
    host().setWaitBoxVisible(true);
    const backup::Outcome saved = backup::save(database::shared(), file);
    host().setWaitBoxVisible(false);
    if (saved.ok)
        notify::show(this, notify::Kind::Information, kTitle,
                     QStringLiteral("数据已备份到：%1").arg(QDir::toNativeSeparators(file)));
    else
        prompt::ask(kTitle, saved.message, false, this, saved.details);
}

void Tfrmsjbf::restore()
{
    const QString file = file_choice::choose(
        this, {file_choice::Purpose::Open, QStringLiteral("数据恢复"), QDir::homePath(), kBackupFilter});
    if (file.isEmpty())
        return;
    host().setWaitBoxVisible(true);
    const backup::Outcome checked = backup::check(file);
    host().setWaitBoxVisible(false);
    if (!checked.ok) {
        prompt::ask(kTitle, checked.message, false, this, checked.details);
        return;
    }
    if (prompt::ask(QStringLiteral("恢复提示"), QStringLiteral("确定要用所选备份替换\n当前的全部数据吗？"), true, this) != prompt::Ok)
        return;
    host().setWaitBoxVisible(true);
    const backup::Outcome restored = backup::restore(database::shared(), file);
    // The connection starts afresh on the restored data, with its settings and functions.
    const database::OpenResult reopened = database::reopen(database::kSharedConnection, database::Check::Pages);
    host().setWaitBoxVisible(false);
    if (!reopened.ok) {
        prompt::ask(kTitle, reopened.message, false, this, reopened.details);
        return;
    }
    if (!restored.ok) {
        prompt::ask(kTitle, restored.message, false, this, restored.details);
        return;
    }
    try {
        change_log::noteRestore(database::shared(), file);
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {kTitle, {}, QStringLiteral("数据已恢复，但操作日志未能记录。")});
    }
    notify::show(this, notify::Kind::Information, kTitle,
                 QStringLiteral("数据已恢复。恢复前的数据保存在：%1").arg(QDir::toNativeSeparators(restored.keptCopy)));
}

void registerBackupScreen(ScreenRegistry &registry)
{
    registry.add(QStringLiteral("Tfrmsjbf"), {Placement::Centred, [](ScreenHost &host) { return new Tfrmsjbf(host); }});
}
