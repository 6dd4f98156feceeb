#pragma once
// Tfrmzpxz: the modal photo picker. Lists the photos of picture/ beside the program with a
// preview; "上一个" / "下一个" step through them without wrapping; "确定" confirms, "忽略"
// cancels. The caller reads selectedPath() (folder and name, empty when nothing is listed).

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

class Tfrmzpxz : public QDialog {
    Q_OBJECT
public:
    explicit Tfrmzpxz(QWidget *parent = nullptr);

    QString selectedPath() const;
    QListWidget *fileList() const { return files_; }
    QLabel *preview() const { return preview_; }
    QLabel *folderNote() const { return note_; }
    QPushButton *previousButton() const { return previous_; }
    QPushButton *nextButton() const { return next_; }
    QPushButton *okButton() const { return ok_; }
    QPushButton *ignoreButton() const { return ignore_; }

private:
    void showPreview();

    QString folder_;
    QListWidget *files_;
    QLabel *preview_;
    QLabel *note_;
    QPushButton *previous_;
    QPushButton *next_;
    QPushButton *ok_;
    QPushButton *ignore_;
};
