// The photo picker on a temporary picture folder: which files it lists, the buttons, results.

#include "staff/photo_files.h"
#include "staff/photo_picker.h"
#include "support/test_support.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

void writePicture(const QString &path, int width)
{
    QImage picture(width, 20, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    picture.save(&file, path.endsWith("bmp", Qt::CaseInsensitive) ? "BMP" : "JPG");
}

}  // namespace

class TestPhotoPicker : public QObject {
    Q_OBJECT
private slots:
    void listsPhotosAndStepsWithoutWrapping()
    {
        ProgramFolder folder(false);
        QDir dir(folder.path());
        dir.mkpath("picture/sub.jpg");  // a folder is not a photo
        int width = 10;
        for (const char *name : {"b.jpg", "A.BMP", "c.Jpg", "d.png", "e.gif", ".hidden.jpg", "notes.txt"})
            writePicture(folder.file(QString("picture/") + name), width += 10);

        QCOMPARE(staff::photoFolder().files, QStringList({"A.BMP", "b.jpg", "c.Jpg"}));
        Tfrmzpxz picker;
        QCOMPARE(picker.windowTitle(), QString(" 照片选择窗口"));
        QVERIFY(picker.folderNote()->isHidden());
        QCOMPARE(picker.fileList()->currentRow(), 0);
        QCOMPARE(picker.preview()->pixmap().width(), 30);  // A.BMP at its own size

        picker.previousButton()->click();  // on the first: nothing
        QCOMPARE(picker.fileList()->currentRow(), 0);
        picker.nextButton()->click();
        picker.nextButton()->click();
        picker.nextButton()->click();  // on the last: nothing
        QCOMPARE(picker.fileList()->currentRow(), 2);
        QCOMPARE(picker.preview()->pixmap().width(), 40);  // c.Jpg
        QCOMPARE(picker.selectedPath(), QDir(folder.file("picture")).filePath("c.Jpg"));
        // The arrow keys move the preview with the selection that "确定" returns.
        QTest::keyClick(picker.fileList(), Qt::Key_Up);
        QCOMPARE(picker.selectedPath(), QDir(folder.file("picture")).filePath("b.jpg"));
        QCOMPARE(picker.preview()->pixmap().width(), 20);

        picker.okButton()->click();
        QCOMPARE(picker.result(), int(QDialog::Accepted));
        Tfrmzpxz other;
        other.ignoreButton()->click();
        QCOMPARE(other.result(), int(QDialog::Rejected));
    }

    void emptyAndMissingFoldersSaySo_data()
    {
        QTest::addColumn<bool>("folderExists");
        QTest::addColumn<QString>("note");
        QTest::newRow("empty folder") << true << "照片文件夹中没有照片";
        QTest::newRow("missing folder") << false << "照片文件夹不存在";
    }
    void emptyAndMissingFoldersSaySo()
    {
        QFETCH(bool, folderExists);
        QFETCH(QString, note);
        ProgramFolder folder(false);
        if (folderExists)
            QDir(folder.path()).mkpath("picture");
        Tfrmzpxz picker;
        QCOMPARE(picker.fileList()->count(), 0);
        QVERIFY(picker.preview()->pixmap().isNull());
        QVERIFY(picker.folderNote()->text().startsWith(note));
        picker.nextButton()->click();
        picker.previousButton()->click();
        QCOMPARE(picker.selectedPath(), QString());  // "确定" then stores an empty name
    }

    void photoToShowFallsBackToTheIcon_data()
    {
        QTest::addColumn<QString>("photo");
        QTest::addColumn<QString>("shown");
        QTest::newRow("present") << "b.jpg" << "picture/b.jpg";
        QTest::newRow("empty name") << "" << "msgbox02.ico";
        QTest::newRow("missing file") << "gone.jpg" << "msgbox02.ico";
        QTest::newRow("outside the folder") << "../msgbox02.ico" << "msgbox02.ico";
        QTest::newRow("path kept to its name") << "../picture/b.jpg" << "picture/b.jpg";
    }
    void photoToShowFallsBackToTheIcon()
    {
        QFETCH(QString, photo);
        QFETCH(QString, shown);
        ProgramFolder folder(false);
        QDir(folder.path()).mkpath("picture");
        writePicture(folder.file("picture/b.jpg"), 10);
        QCOMPARE(staff::photoFileToShow(photo), folder.file(shown));
    }
};

QTEST_MAIN(TestPhotoPicker)
#include "test_photo_picker.moc"
