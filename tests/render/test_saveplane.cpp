// SPDX-License-Identifier: GPL-3.0-or-later
// "Uložit obrázek…" on the plot window: the PNG reads back as the plane, a
// file that cannot be written is reported and changes nothing, links,
// FIFOs and devices are treated as the renderer treats them, and the save
// dialog asks before it replaces a file.
#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "../panel/PanelFixture.h"
#include "TracePause.h"
#include "PlaneDialogs.h"
#include "PlaneImage.h"
#include "RendererProcess.h"
#include "SavePlane.h"
#include "WhenModal.h"

class TestSavePlane : public QObject {
    Q_OBJECT

private:
    PanelFixture fixture;
    QTemporaryDir folder;
    QAction* save = nullptr;
    QString chosen;           // what the chooser answers
    int choices = 0;          // how often it was asked
    QWidget* chooserParent = nullptr;
    std::function<void()> duringPause;


private slots:
    void initTestCase() { QVERIFY(folder.isValid()); }
    void init()
    {
        fixture.Start();
        save = TheMenu().SavePicture;
        chosen.clear();
        choices = 0;
        chooserParent = nullptr;
        duringPause = nullptr;
        SetSaveFileChooser([this](QWidget* parent, SaveWhat) {
            ++choices;
            chooserParent = parent;
            return SaveChoice{chosen, std::nullopt};
        });
        SetTracePause([this] {
            if (duringPause)
                duringPause();
        });
    }
    void cleanup()
    {
        SetTracePause(nullptr);
        SetSaveFileChooser(nullptr);
        fixture.Stop();
    }

    void ActionOnTheWindow();
    void ContextMenuOffersIt();
    void SavesThePlane_data();
    void SavesThePlane();
    void UnwritablePath_data();
    void UnwritablePath();
    void NeverReplacesWhatIsNotAFile_data();
    void NeverReplacesWhatIsNotAFile();
    void CancelWritesNothing();
    void NotDuringATrace();
    void DialogAsksBeforeReplacing_data();
    void DialogAsksBeforeReplacing();
};

void TestSavePlane::ActionOnTheWindow()
{
    QVERIFY(save);
    QCOMPARE(save->text(), QString("Uložit obrázek…"));
    QCOMPARE(save->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    QVERIFY(Draw2D->actions().contains(save));
    QCOMPARE(Draw2D->contextMenuPolicy(), Qt::ActionsContextMenu);
    QCOMPARE(Draw2D->findChild<QAction*>(SavePlaneActionName), save);
}

// A right click on the plane opens the window's menu with the entry, and
// choosing it saves.
void TestSavePlane::ContextMenuOffersIt()
{
    chosen = folder.filePath("menu.png");
    QFile::remove(chosen);
    QStringList entries;
    // The menu is a popup, not a modal dialog: wait for it to be up.
    QTimer poll;
    poll.setInterval(10);
    connect(&poll, &QTimer::timeout, [&entries, &poll] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        poll.stop();
        for (QAction* action : menu->actions())
            entries << action->text();
        menu->actions().first()->trigger();
        menu->close();
    });
    poll.start();

    const QPoint at(100, 100);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, Draw2D->Image1->mapToGlobal(at));
    QApplication::sendEvent(Draw2D->Image1, &event);
    QTRY_COMPARE(choices, 1);
    QCOMPARE(entries.mid(0, 3), (QStringList{"Uložit obrázek…", "Uložit animaci…", "Tisk…"}));
    QTRY_VERIFY(QFile::exists(chosen));
    QVERIFY(ReadPicture(chosen) == Draw2D->Plane());
}

void TestSavePlane::SavesThePlane_data()
{
    QTest::addColumn<bool>("trace");
    QTest::addColumn<bool>("dashed");
    QTest::addColumn<bool>("byShortcut");
    QTest::addColumn<bool>("fileExists");

    QTest::newRow("white plane") << false << false << false << false;
    QTest::newRow("circle with axes") << true << false << false << false;
    QTest::newRow("dashed circle by Ctrl+S") << true << true << true << false;
    QTest::newRow("over an existing file") << true << false << false << true;
}

void TestSavePlane::SavesThePlane()
{
    QFETCH(bool, trace);
    QFETCH(bool, dashed);
    QFETCH(bool, byShortcut);
    QFETCH(bool, fileExists);

    chosen = folder.filePath(QString("%1.png").arg(QTest::currentDataTag()));
    QFile::remove(chosen);
    if (fileExists) {
        QFile old(chosen);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("not a picture");
    }
    if (trace) {
        Control_Panel->CheckBox2->setChecked(dashed);
        PressKresli();
        QVERIFY(fixture.Boxes.isEmpty());
        QVERIFY(PixelsOf(ToQImage(Draw2D->Plane()), 0, 0, 200) > 0);
    }
    const QImage before = ToQImage(Draw2D->Plane()).copy();

    if (byShortcut) {
        Draw2D->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Draw2D));
        QTest::keyClick(Draw2D, Qt::Key_S, Qt::ControlModifier);
    } else {
        save->trigger();
    }
    QCOMPARE(choices, 1);
    QCOMPARE(chooserParent, static_cast<QWidget*>(Draw2D));
    QVERIFY(fixture.Boxes.isEmpty());

    const QImage saved(chosen);
    QVERIFY(!saved.isNull());
    QCOMPARE(saved.size(), QSize(500, 500));
    QVERIFY(saved.convertToFormat(QImage::Format_RGB888) == before);
    QVERIFY(Draw2D->Plane() == before);
}

void TestSavePlane::UnwritablePath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing folder") << folder.filePath("missing/plane.png") << "složka neexistuje";
    QTest::newRow("a folder") << folder.path() << "je to složka";
    QTest::newRow("no files here") << QString("/proc/paramcurve-plane.png") << "do této složky nelze ukládat soubory";
}

void TestSavePlane::UnwritablePath()
{
    QFETCH(QString, path);
    QFETCH(QString, reason);
    chosen = path;
    PressKresli();
    QVERIFY(fixture.Boxes.isEmpty());
    const QImage before = ToQImage(Draw2D->Plane()).copy();

    save->trigger();
    QCOMPARE(choices, 1);
    QCOMPARE(fixture.Boxes.size(), 1);
    QCOMPARE(fixture.Boxes.first().title, QString("Error"));
    QCOMPARE(fixture.Boxes.first().icon, QMessageBox::Critical);
    QCOMPARE(fixture.Boxes.first().text, QString("Obrázek se nepodařilo uložit do souboru %1: %2.").arg(path, reason));
    QVERIFY(Draw2D->Plane() == before);
    QVERIFY(!QFileInfo(path).isFile());
}

void TestSavePlane::NeverReplacesWhatIsNotAFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");  // empty: saved
    QTest::newRow("link to a file") << "link" << "";
    QTest::newRow("FIFO nobody reads: refused, not waited for") << "fifo" << "z roury nikdo nečte";
    QTest::newRow("private null device") << "null" << "";
    QTest::newRow("private block device") << "block" << "je to blokové zařízení (disk)";
}

// A link is followed and stays; a FIFO or device is the same node afterwards.
void TestSavePlane::NeverReplacesWhatIsNotAFile()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir place;
    QVERIFY(place.isValid());
    chosen = place.filePath("chosen.png");
    const QByteArray native = QFile::encodeName(chosen);
    const QString target = place.filePath("target.png");
    if (kind == "link") {
        QVERIFY(QFile::link("target.png", chosen));
    } else if (kind == "fifo") {
        QCOMPARE(::mkfifo(native.constData(), 0644), 0);
    } else {
        const dev_t numbers = kind == "null" ? makedev(1, 3) : makedev(7, 200);
        if (::mknod(native.constData(), (kind == "null" ? S_IFCHR : S_IFBLK) | 0666, numbers) != 0)
            QSKIP("mknod is not permitted here; device nodes cannot be tested");
    }
    struct stat before {};
    QCOMPARE(::lstat(native.constData(), &before), 0);
    PressKresli();

    save->trigger();
    if (reason.isEmpty()) {
        QVERIFY(fixture.Boxes.isEmpty());
    } else {
        QCOMPARE(fixture.Boxes.size(), 1);
        QCOMPARE(fixture.Boxes.first().text,
                 QString("Obrázek se nepodařilo uložit do souboru %1: %2.").arg(chosen, reason));
    }
    struct stat after {};
    QCOMPARE(::lstat(native.constData(), &after), 0);
    QCOMPARE(after.st_ino, before.st_ino);
    QCOMPARE(after.st_mode, before.st_mode);
    if (kind == "link")
        QVERIFY(ReadPicture(target) == Draw2D->Plane());
}

void TestSavePlane::CancelWritesNothing()
{
    const QStringList filesBefore = QDir(folder.path()).entryList(QDir::Files);
    chosen.clear();
    save->trigger();
    QCOMPARE(choices, 1);
    QVERIFY(fixture.Boxes.isEmpty());
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), filesBefore);
}

// While "Kresli" traces, neither the action nor its shortcut asks for a file;
// afterwards both work again.
void TestSavePlane::NotDuringATrace()
{
    chosen = folder.filePath("after.png");
    QFile::remove(chosen);
    int steps = 0;
    duringPause = [this, &steps] {
        ++steps;
        save->trigger();
        QTest::keyClick(Draw2D, Qt::Key_S, Qt::ControlModifier);
    };
    PressKresli();
    QCOMPARE(steps, 102);
    QCOMPARE(choices, 0);
    QVERIFY(!QFile::exists(chosen));

    duringPause = nullptr;
    save->trigger();
    QCOMPARE(choices, 1);
    QVERIFY(ReadPicture(chosen) == Draw2D->Plane());
}

void TestSavePlane::DialogAsksBeforeReplacing_data()
{
    QTest::addColumn<bool>("replace");
    QTest::newRow("answer yes") << true;
    QTest::newRow("answer no") << false;
}

// The real dialog: a save dialog for PNG files that asks before it replaces
// an existing file; "No" keeps the file as it was.
void TestSavePlane::DialogAsksBeforeReplacing()
{
    QFETCH(bool, replace);
    SetSaveFileChooser(nullptr);
    const QString path = folder.filePath("existing.png");
    QFile::remove(path);
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old content");
    }
    PressKresli();

    bool sawSaveDialog = false;
    bool asked = false;
    // The file name is typed into the dialog's name field, as a user does.
    const auto chosen = [path](QFileDialog* dialog) {
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        if (!name)
            return false;
        name->setText(path);
        return dialog->selectedFiles() == QStringList{path};
    };
    WhenModal<QFileDialog>(this, chosen, [&](QFileDialog* dialog) {
        sawSaveDialog = dialog->acceptMode() == QFileDialog::AcceptSave
                        && !dialog->testOption(QFileDialog::DontConfirmOverwrite)
                        && dialog->defaultSuffix() == "png";
        WhenModal<QMessageBox>(
            dialog, [](QMessageBox*) { return true; },
            [&](QMessageBox* question) {
                asked = question->text().contains("existing.png");
                question->button(replace ? QMessageBox::Yes : QMessageBox::No)->click();
            });
        // Runs the question's modal loop right here; "No" leaves the dialog open.
        QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
        if (dialog->isVisible())
            dialog->reject();
    });
    save->trigger();

    QVERIFY(sawSaveDialog);
    QVERIFY(asked);
    QVERIFY(fixture.Boxes.isEmpty());
    if (replace) {
        QVERIFY(ReadPicture(path) == Draw2D->Plane());
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("old content"));
    }
}

QTEST_MAIN(TestSavePlane)
#include "test_saveplane.moc"
