#include "staff/photo_picker.h"

#include "staff/photo_files.h"

#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

Tfrmzpxz::Tfrmzpxz(QWidget *parent) : QDialog(parent)
{
    setObjectName("Tfrmzpxz");
    setWindowTitle(QStringLiteral(" 照片选择窗口"));
    setModal(true);
    resize(560, 400);

    const staff::PhotoFolder folder = staff::photoFolder();
    folder_ = folder.path;

    files_ = new QListWidget(this);
    files_->setFixedWidth(180);
    files_->addItems(folder.files);
    preview_ = new QLabel(this);
    preview_->setObjectName("preview");
    preview_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *previewArea = new QScrollArea(this);
    previewArea->setWidget(preview_);
    previewArea->setWidgetResizable(false);

    note_ = new QLabel(this);
    note_->setStyleSheet("color: #b00000;");
    note_->setWordWrap(true);
    if (!folder.exists)
        note_->setText(QStringLiteral("照片文件夹不存在：%1").arg(QDir::toNativeSeparators(folder.path)));
    else if (folder.files.isEmpty())
        note_->setText(QStringLiteral("照片文件夹中没有照片（*.bmp、*.jpg）：%1").arg(QDir::toNativeSeparators(folder.path)));
    note_->setVisible(!note_->text().isEmpty());

    previous_ = new QPushButton(QStringLiteral("上一个"), this);
    next_ = new QPushButton(QStringLiteral("下一个"), this);
    ignore_ = new QPushButton(QStringLiteral("忽略"), this);
    ok_ = new QPushButton(QStringLiteral("确定"), this);
    ok_->setDefault(true);

    auto *top = new QHBoxLayout;
    top->addWidget(files_);
    top->addWidget(previewArea, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(previous_);
    buttons->addWidget(next_);
    buttons->addStretch();
    buttons->addWidget(ignore_);
    buttons->addWidget(ok_);
    auto *column = new QVBoxLayout(this);
    column->addLayout(top, 1);
    column->addWidget(note_);
    column->addLayout(buttons);

    // The preview follows the current row however it moves: a click, the arrow keys, the buttons.
    connect(files_, &QListWidget::currentRowChanged, this, &Tfrmzpxz::showPreview);
    connect(previous_, &QPushButton::clicked, this, [this] {
        if (files_->currentRow() > 0)
            files_->setCurrentRow(files_->currentRow() - 1);
    });
    connect(next_, &QPushButton::clicked, this, [this] {
        if (files_->currentRow() < files_->count() - 1)
            files_->setCurrentRow(files_->currentRow() + 1);
    });
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(ignore_, &QPushButton::clicked, this, &QDialog::reject);

    if (files_->count() > 0)
        files_->setCurrentRow(0);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QString Tfrmzpxz::selectedPath() const
{
    const QListWidgetItem *item = files_->currentItem();
    return item ? QDir(folder_).filePath(item->text()) : QString();
}

void Tfrmzpxz::showPreview()
{
    const QPixmap picture(selectedPath());
    preview_->setPixmap(picture);
    preview_->resize(picture.isNull() ? QSize(0, 0) : picture.size());  // at its own size
}
