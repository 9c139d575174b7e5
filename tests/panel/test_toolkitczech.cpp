// SPDX-License-Identifier: GPL-3.0-or-later
// What the toolkit's Czech translation leaves in English, supplied by the
// program (CTest runs this in en_US): the file dialog's types, sizes and
// dates, the print dialog's page range; and the save dialog opening in the
// folder used last, remembered in the settings.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/time.h>

#include <functional>

#include "LastFolder.h"
#include "PanelFixture.h"
#include "TracePause.h"
#include "PlaneDialogs.h"
#include "SavePlane.h"
#include "ToolkitCzech.h"
#include "../render/WhenModal.h"

namespace {

// The texts of the row named `name` in the dialog's detail view.
QStringList RowOf(QFileDialog& dialog, const QString& name)
{
    auto* view = dialog.findChild<QAbstractItemView*>("treeView");
    if (!view)
        return {};
    const QAbstractItemModel& model = *view->model();
    const QModelIndex root = view->rootIndex();
    for (int row = 0; row < model.rowCount(root); ++row) {
        if (model.index(row, 0, root).data().toString() != name)
            continue;
        QStringList cells;
        for (int column = 0; column < model.columnCount(root); ++column)
            cells << model.index(row, column, root).data().toString();
        return cells;
    }
    return {};
}

// Also for a folder, which the toolkit cannot open to set it.
bool SetModified(const QString& path, const QDateTime& when)
{
    const timeval times[2] = {{time_t(when.toSecsSinceEpoch()), 0}, {time_t(when.toSecsSinceEpoch()), 0}};
    return utimes(QFile::encodeName(path).constData(), times) == 0;
}

}  // namespace

class TestToolkitCzech : public QObject {
    Q_OBJECT
    PanelFixture Fixture;
    QTemporaryDir Settings;
    QTemporaryDir Files;

private slots:
    void initTestCase()
    {
        QVERIFY(Settings.isValid() && Files.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Settings.path());
    }
    void init()
    {
        Fixture.Start();
        SetSaveFileChooser(nullptr);  // the real dialogs
        SetPrintDialog(nullptr);
        QSettings().clear();
    }
    void cleanup() { Fixture.Stop(); }

    void fileSizes_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("empty") << qint64(0) << "0 bajtů";
        QTest::newRow("one") << qint64(1) << "1 bajt";
        QTest::newRow("two") << qint64(2) << "2 bajty";
        QTest::newRow("four") << qint64(4) << "4 bajty";
        QTest::newRow("five") << qint64(5) << "5 bajtů";
        QTest::newRow("below a KiB, grouped") << qint64(1023) << QString::fromUtf8("1\u00A0023 bajtů");
        QTest::newRow("a KiB, decimal comma") << qint64(1024) << "1,00 KiB";
        QTest::newRow("5000") << qint64(5000) << "4,88 KiB";
        QTest::newRow("a MiB and more") << qint64(1234567) << "1,18 MiB";
    }

    void fileSizes()
    {
        QFETCH(qint64, bytes);
        QFETCH(QString, shown);
        QCOMPARE(CzechFileSize(bytes), shown);
    }

    void fileDialogRows_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("row");
        // Name, size, type, date modified; a folder has no size. The dialog
        // lists pictures only; their type is the desktop's file type
        // (shared-mime-info, which the toolkit needs), in the default locale.
        QTest::newRow("folder") << "sub" << QStringList{"sub", "", "Složka", "04.03.25 15:06"};
        QTest::newRow("six bytes") << "six.png" << QStringList{"six.png", "6 bajtů", "obrázek PNG", "04.03.25 15:06"};
        QTest::newRow("5000 bytes") << "five.png" << QStringList{"five.png", "4,88 KiB", "obrázek PNG", "31.12.24 9:30"};
    }

    // The real save dialog, in its detail view, on a folder of known files.
    void fileDialogRows()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, row);
        const QString folder = Files.filePath("rows");
        QVERIFY(QDir().mkpath(folder + "/sub"));
        QFile six(folder + "/six.png"), five(folder + "/five.png");
        QVERIFY(six.open(QIODevice::WriteOnly) && six.write("123456") == 6);
        QVERIFY(five.open(QIODevice::WriteOnly) && five.write(QByteArray(5000, 'x')) == 5000);
        six.close();
        five.close();
        QVERIFY(SetModified(folder + "/six.png", QDateTime(QDate(2025, 3, 4), QTime(15, 6))));
        QVERIFY(SetModified(folder + "/five.png", QDateTime(QDate(2024, 12, 31), QTime(9, 30))));
        QVERIFY(SetModified(folder + "/sub", QDateTime(QDate(2025, 3, 4), QTime(15, 6))));
        RememberFolder(SaveFolderPurpose, folder + "/six.png");

        QStringList shown;
        WhenModal<QFileDialog>(
            this, [&](QFileDialog* dialog) {
                dialog->setViewMode(QFileDialog::Detail);
                // The file model reads the folder in the background.
                return !RowOf(*dialog, name).isEmpty() && !RowOf(*dialog, name).value(3).isEmpty();
            },
            [&](QFileDialog* dialog) {
                shown = RowOf(*dialog, name);
                dialog->reject();
            });
        SavePlane(*Draw2D);
        QVERIFY(!shown.isEmpty());
        QCOMPARE(shown, row);
    }

    // The page range of the print dialog's options and its explanation.
    void printDialogPages()
    {
        QStringList buttons;
        QString explanation;
        WhenModal<QPrintDialog>(this, [](QPrintDialog*) { return true; }, [&](QPrintDialog* dialog) {
            for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
                buttons << button->text();
            for (const QWidget* widget : dialog->findChildren<QWidget*>()) {
                if (widget->toolTip().contains("3,5-7,9"))
                    explanation = widget->toolTip();
            }
            dialog->reject();
        });
        QPrinter printer;  // the print dialog that "Tisk" in the print preview opens
        RunPrintDialog(printer, Draw2D);
        QVERIFY2(buttons.contains("Strany"), qPrintable(buttons.join(" | ")));
        QVERIFY(!buttons.contains("Pages"));
        QVERIFY2(explanation.startsWith("Zadejte strany"), qPrintable(explanation));
    }

    void lastFolder_data()
    {
        QTest::addColumn<QString>("remembered");  // relative to the files' folder; empty: nothing
        QTest::addColumn<QString>("purpose");
        QTest::addColumn<QString>("folder");  // the answer, relative; "-": empty
        QTest::newRow("nothing remembered") << "" << "save" << "-";
        QTest::newRow("a file's folder") << "a/curve.png" << "save" << "a";
        QTest::newRow("a file yet to be written") << "a/new.svg" << "save" << "a";
        QTest::newRow("a folder itself") << "a/b" << "save" << "a/b";
        QTest::newRow("another purpose") << "a/curve.png" << "lesson" << "-";
        QTest::newRow("a folder since removed") << "gone/curve.png" << "save" << "-";
    }

    void lastFolder()
    {
        QFETCH(QString, remembered);
        QFETCH(QString, purpose);
        QFETCH(QString, folder);
        const QString root = Files.filePath("last");
        QVERIFY(QDir().mkpath(root + "/a/b"));
        QVERIFY(QDir().mkpath(root + "/gone"));
        QFile(root + "/a/curve.png").open(QIODevice::WriteOnly);
        if (!remembered.isEmpty())
            RememberFolder("save", root + '/' + remembered);
        QVERIFY(QDir(root + "/gone").removeRecursively());
        QCOMPARE(LastFolder(purpose.toUtf8().constData()), folder == "-" ? QString() : root + '/' + folder);
    }

    // A file saved through the real dialog: the next dialog, for a picture
    // or an animation, opens in its folder, also in a later run.
    void saveDialogOpensWhereLastUsed()
    {
        const QString folder = Files.filePath("saved here");
        QVERIFY(QDir().mkpath(folder));
        SetPanelTexts({"3*cos(t)", "3*sin(t)", "-4", "4", "-4", "4", "0", "6.2833", "4"});
        SetTracePause([] {});
        PressKresli();
        SetTracePause(nullptr);
        WhenModal<QFileDialog>(this, [](QFileDialog*) { return true; }, [&](QFileDialog* dialog) {
            dialog->setDirectory(folder);
            dialog->selectFile(folder + "/krivka.png");
            QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
        });
        SavePlane(*Draw2D);
        QVERIFY(QFile::exists(folder + "/krivka.png"));

        QString openedIn;
        WhenModal<QFileDialog>(this, [](QFileDialog*) { return true; }, [&](QFileDialog* dialog) {
            openedIn = dialog->directory().absolutePath();
            dialog->reject();
        });
        SaveAnimation(*Draw2D, TheDocument());
        QCOMPARE(openedIn, folder);
        QSettings().sync();
        QSettings written(Settings.path() + "/paramcurve/paramcurve.conf", QSettings::IniFormat);
        QCOMPARE(written.value("LastFolder/save").toString(), folder);
    }
};

QTEST_MAIN(TestToolkitCzech)
#include "test_toolkitczech.moc"
