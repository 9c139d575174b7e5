// SPDX-License-Identifier: GPL-3.0-or-later
// What paramcurve-render says about itself: --version gives the project's
// version, and the built manual pages render cleanly, the renderer's page
// listing exactly the options of --help, in the same order and words.
#include <QtTest>

#include <QStandardPaths>

#include "RendererProcess.h"

namespace {

struct ManRun {
    bool Finished = false;
    int ExitStatus = -1;
    QString Out;
    QString Err;
};

// The page as man shows it, one paragraph to a line, with roff warnings on;
// in `locale` (in "C" man writes plain ASCII).
ManRun RenderPage(const QString& page, const QString& locale = QStringLiteral("C.UTF-8"))
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LC_ALL", locale);
    environment.insert("MANWIDTH", "1000");
    environment.insert("MANPAGER", "cat");
    QProcess process;
    process.setProcessEnvironment(environment);
    QStringList arguments{"--warnings", "-l", page};
    if (locale != "C")
        arguments = QStringList{"-E", "UTF-8"} + arguments;
    process.start(QStandardPaths::findExecutable("man"), arguments);
    ManRun run;
    run.Finished = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit;
    run.ExitStatus = process.exitCode();
    run.Out = QString::fromUtf8(process.readAllStandardOutput());
    run.Err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QString ManPage(const char* name)
{
    return QStringLiteral(PARAMCURVE_MAN_DIR "/") + QString::fromLatin1(name);
}

// The text of one section of a rendered page, its whitespace simplified.
QString Section(const QString& text, const QString& heading)
{
    const QStringList lines = text.split('\n');
    QStringList body;
    bool inside = false;
    for (const QString& line : lines) {
        const bool isHeading = !line.isEmpty() && !line[0].isSpace();
        if (isHeading)
            inside = line == heading;
        else if (inside)
            body << line;
    }
    return body.join(' ').simplified();
}

}  // namespace

class TestManPage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(!QStandardPaths::findExecutable("man").isEmpty(), "man (man-db) is needed");
    }

    void VersionIsTheProjectVersion_data()
    {
        QTest::addColumn<QString>("option");
        QTest::newRow("long") << "--version";
        QTest::newRow("short") << "-v";
    }

    void VersionIsTheProjectVersion()
    {
        QFETCH(QString, option);
        // Given beside other options, the version is all that is done.
        const RendererRun run = RunRenderer({option, "--preset", "kruznice"});
        QVERIFY(run.Finished);
        QCOMPARE(run.ExitStatus, 0);
        QCOMPARE(run.Out, QByteArray("paramcurve-render " PARAMCURVE_VERSION "\n"));
        QCOMPARE(run.Err, QByteArray());
    }

    void PagesRenderWithoutWarnings_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("name");
        QTest::newRow("paramcurve") << ManPage("paramcurve.1.gz") << "paramcurve - ";
        QTest::newRow("paramcurve-render") << ManPage("paramcurve-render.1.gz") << "paramcurve-render - ";
    }

    void PagesRenderWithoutWarnings()
    {
        QFETCH(QString, page);
        QFETCH(QString, name);
        const ManRun run = RenderPage(page);
        QVERIFY(run.Finished);
        QCOMPARE(run.ExitStatus, 0);
        QCOMPARE(run.Err, QString());
        QVERIFY2(Section(run.Out, "JMÉNO").startsWith(name), qPrintable(run.Out.left(400)));
        // The footer carries the version the program reports.
        QVERIFY2(run.Out.contains("paramcurve " PARAMCURVE_VERSION " "), qPrintable(run.Out.right(200)));
    }

    void PagesReadableInPlainAscii_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QString>("words");
        QTest::newRow("paramcurve") << ManPage("paramcurve.1.gz") << "JMENO"
                                    << "paramcurve - kresleni rovinnych krivek zadanych parametricky";
        QTest::newRow("paramcurve-render") << ManPage("paramcurve-render.1.gz") << "JMENO"
                                           << "paramcurve-render - nakresli parametrickou krivku bez okna";
    }

    // In the C locale every Czech letter falls back to its plain one (hacek
    // and ring included), and groff finds every character.
    void PagesReadableInPlainAscii()
    {
        QFETCH(QString, page);
        QFETCH(QString, heading);
        QFETCH(QString, words);
        const ManRun run = RenderPage(page, "C");
        QVERIFY(run.Finished);
        QCOMPARE(run.ExitStatus, 0);
        QCOMPARE(run.Err, QString());
        QVERIFY2(Section(run.Out, heading).startsWith(words), qPrintable(run.Out.left(400)));
        for (const QChar c : run.Out)
            QVERIFY2(c.unicode() < 128, qPrintable(QString("not ASCII: ") + c));
    }

    void RendererPageListsTheHelpOptions()
    {
        const RendererRun help = RunRenderer({"--help"});
        QVERIFY(help.Finished);
        QCOMPARE(help.ExitStatus, 0);
        const QString helpText = QString::fromUtf8(help.Out);
        QVERIFY(!helpText.contains("man-options"));  // the build's own option stays hidden

        // Each option is "  NAMES [VALUE]  DESCRIPTION", the description
        // going on in further indented lines; on the page the same names and
        // value stand over the same description.
        QStringList expected;
        static const QRegularExpression optionLine(QStringLiteral("^  (-\\S.*?)  +(\\S.*)$"));
        static const QRegularExpression continued(QStringLiteral("^ {4,}(\\S.*)$"));
        for (const QString& line : helpText.split('\n')) {
            const QRegularExpressionMatch match = optionLine.match(line);
            const QRegularExpressionMatch more = continued.match(line);
            if (match.hasMatch())
                expected << match.captured(1).simplified() + ' ' + match.captured(2).simplified();
            else if (more.hasMatch() && !expected.isEmpty())
                expected.last() += ' ' + more.captured(1).simplified();
        }
        QVERIFY(expected.size() >= 17);

        const ManRun page = RenderPage(ManPage("paramcurve-render.1.gz"));
        QVERIFY(page.Finished);
        QCOMPARE(page.ExitStatus, 0);
        const QString options = Section(page.Out, "VOLBY");
        qsizetype from = 0;
        for (const QString& entry : expected) {
            const qsizetype at = options.indexOf(entry, from);
            QVERIFY2(at >= 0, qPrintable("not on the page in this order: " + entry + "\npage: " + options));
            from = at + entry.size();
        }
        // Nothing on the page beyond the help's options.
        QCOMPARE(options.size(), expected.join(' ').size());
    }
};

QTEST_MAIN(TestManPage)
#include "test_manpage.moc"
