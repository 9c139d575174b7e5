// SPDX-License-Identifier: GPL-3.0-or-later
// The toolkit's own texts are Czech whatever the user's locale (CTest runs
// this in en_US): the colour dialog, the save dialog and the fields' context
// menus say what the installed Czech translation says.
#include <QAbstractButton>
#include <QColorDialog>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>

#include <functional>
#include <memory>

#include "PanelFixture.h"
#include "PlaneDialogs.h"
#include "SavePlane.h"

namespace {

// Every text the modal dialog opened by `open` shows: its title, labels and
// buttons. The dialog is cancelled once they are read.
QStringList TextsOfModalDialog(const std::function<void()>& open)
{
    QStringList texts;
    QTimer watch;
    watch.setInterval(10);
    int ticks = 0;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) {
            if (++ticks > 500)
                watch.stop();  // the dialog never came: the texts stay empty
            return;
        }
        watch.stop();
        texts << dialog->windowTitle();
        for (const QLabel* label : dialog->findChildren<QLabel*>())
            texts << label->text();
        for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
            texts << button->text();
        dialog->reject();
    });
    watch.start();
    open();
    return texts;
}

}  // namespace

class TestCzech : public QObject {
    Q_OBJECT
    PanelFixture Fixture;
    QTranslator Expected;  // read from the .qm file, apart from the program's own

    void AddRow(const char* context, const char* source)
    {
        QTest::addRow("%s %s", context, source) << QString(context) << QString(source);
    }

    // The Czech text, checked to differ from the English one so that an
    // untranslated dialog cannot pass.
    QString Czech(const QString& context, const QString& source)
    {
        const QString czech = Expected.translate(context.toLatin1(), source.toLatin1());
        if (czech.isEmpty() || czech == source)
            QTest::qFail(qPrintable("no Czech text for " + source), __FILE__, __LINE__);
        return czech;
    }

private slots:
    void initTestCase()
    {
        const QString file = CzechToolkitTranslation();
        QVERIFY2(!file.isEmpty(), "qtbase_cs.qm is not installed (Debian package qt6-translations-l10n)");
        QVERIFY(Expected.load(file));
    }
    void init()
    {
        Fixture.Start();
        ColorChooser = nullptr;     // the real colour dialog
        SetSaveFileChooser(nullptr);  // the real save dialog
        SetPrintDialog(nullptr);      // the real print dialog
    }
    void cleanup() { Fixture.Stop(); }

    void colourDialog_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("source");
        AddRow("QColorDialog", "Select Color");
        AddRow("QColorDialog", "&Basic colors");
        AddRow("QColorDialog", "&Custom colors");
        AddRow("QColorDialog", "&Pick Screen Color");
        AddRow("QColorDialog", "&Add to Custom Colors");
        AddRow("QColorDialog", "&Red:");
        AddRow("QPlatformTheme", "Cancel");
    }

    void colourDialog()
    {
        QFETCH(QString, context);
        QFETCH(QString, source);
        const QStringList texts =
            TextsOfModalDialog([] { QTest::mouseClick(Control_Panel->Button4, Qt::LeftButton); });
        QVERIFY(!texts.isEmpty());
        QVERIFY2(texts.contains(Czech(context, source)), qPrintable(texts.join(" | ")));
    }

    void saveDialog_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("source");
        AddRow("QFileDialog", "Look in:");
        AddRow("QFileDialog", "File &name:");
        AddRow("QFileDialog", "Files of type:");
        AddRow("QFileDialog", "&Save");
        AddRow("QPlatformTheme", "Cancel");
    }

    void saveDialog()
    {
        QFETCH(QString, context);
        QFETCH(QString, source);
        const QStringList texts = TextsOfModalDialog([] { SavePlane(*Draw2D); });
        QVERIFY(!texts.isEmpty());
        QVERIFY2(texts.contains(Czech(context, source)), qPrintable(texts.join(" | ")));
    }

    void printDialog_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("source");
        AddRow("QPrintDialog", "Print");
        AddRow("QPrintDialog", "&Print");
        AddRow("QPlatformTheme", "Cancel");
    }

    void printDialog()
    {
        QFETCH(QString, context);
        QFETCH(QString, source);
        // The print dialog that "Tisk" in the print preview opens.
        const QStringList texts = TextsOfModalDialog([] {
            QPrinter printer;
            RunPrintDialog(printer, Draw2D);
        });
        QVERIFY(!texts.isEmpty());
        QVERIFY2(texts.contains(Czech(context, source)), qPrintable(texts.join(" | ")));
    }

    void fieldContextMenu_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("source");
        for (const char* source : {"&Undo", "&Redo", "Cu&t", "&Copy", "&Paste", "Delete", "Select All"})
            AddRow("QLineEdit", source);
    }

    void fieldContextMenu()
    {
        QFETCH(QString, context);
        QFETCH(QString, source);
        const std::unique_ptr<QMenu> menu(Control_Panel->EditEq1->createStandardContextMenu());
        QStringList texts;
        for (const QAction* action : menu->actions())
            texts << action->text().section(u'\t', 0, 0);  // without the shortcut
        QVERIFY2(texts.contains(Czech(context, source)), qPrintable(texts.join(" | ")));
    }
};

QTEST_MAIN(TestCzech)
#include "test_czech.moc"
