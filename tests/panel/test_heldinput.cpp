// SPDX-License-Identifier: GPL-3.0-or-later
// Input held while a trace runs: kept from its receivers while holding,
// carried out in order afterwards, never past an open modal box; Esc is
// taken at once and spent on stopping.
#include <QtTest>

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <atomic>
#include <memory>

#include "HeldInput.h"

namespace {

struct Form {
    QWidget window;
    QPushButton* button = new QPushButton("OK", &window);
    QLineEdit* field = new QLineEdit(&window);
    int clicks = 0;

    Form()
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(button);
        layout->addWidget(field);
        QObject::connect(button, &QPushButton::clicked, [this] { ++clicks; });
        window.show();
    }
};

void Move(QWidget* widget, QPoint to)
{
    QMouseEvent move(QEvent::MouseMove, to, widget->mapToGlobal(to), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

}  // namespace

class TestHeldInput : public QObject {
    Q_OBJECT

private slots:
    void HeldThenCarriedOut_data();
    void HeldThenCarriedOut();
    void WaitsForAModalBox();
};

void TestHeldInput::HeldThenCarriedOut_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("textAfter");
    QTest::addColumn<int>("clicksAfter");
    QTest::addColumn<bool>("stopped");
    QTest::addColumn<int>("entriesHeld");

    QTest::newRow("click on a button") << "click" << "" << 1 << false << 2;
    QTest::newRow("keys into a field") << "keys:ab" << "ab" << 0 << false << 4;
    QTest::newRow("Esc among keys") << "keys:a,Esc,b" << "ab" << 0 << true << 4;
    QTest::newRow("keys, then click, in order") << "keys:x;click;keys:y" << "xy" << 1 << false << 6;
    QTest::newRow("pointer moves keep the last") << "moves;click" << "" << 1 << false << 3;
    QTest::newRow("close of a held window") << "close" << "" << 0 << false << 1;
    QTest::newRow("a key held down counts once") << "keys:a;repeat:a;keys:b" << "ab" << 0 << false << 4;
}

void TestHeldInput::HeldThenCarriedOut()
{
    QFETCH(QString, input);
    QFETCH(QString, textAfter);
    QFETCH(int, clicksAfter);
    QFETCH(bool, stopped);
    QFETCH(int, entriesHeld);

    Form form;
    QVERIFY(QTest::qWaitForWindowExposed(&form.window));
    std::atomic<bool> stop{false};
    bool closedAtOnce = false;
    {
        HeldInput held({&form.window}, stop);
        for (const QString& part : input.split(';')) {
            if (part == "click") {
                QTest::mouseClick(form.button, Qt::LeftButton);
            } else if (part == "moves") {
                for (int x = 1; x <= 5; ++x)
                    Move(form.button, {x, 2});
            } else if (part.startsWith("repeat:")) {
                for (int k = 0; k < 3; ++k) {
                    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, part.mid(7), true);
                    QCoreApplication::sendEvent(form.field, &press);
                }
            } else if (part == "close") {
                closedAtOnce = form.window.close();
            } else {
                for (const QString& key : part.mid(5).split(',')) {
                    if (key == "Esc")
                        QTest::keyClick(form.field, Qt::Key_Escape);
                    else
                        QTest::keyClicks(form.field, key);
                }
            }
        }
        QCoreApplication::processEvents();
        // Nothing reached its receiver while holding.
        QCOMPARE(form.clicks, 0);
        QCOMPARE(form.field->text(), QString());
        QVERIFY(!closedAtOnce);
        QVERIFY(form.window.isVisible());
        QCOMPARE(stop.load(), stopped);
        QCOMPARE(HeldInputCount(), std::size_t(entriesHeld));
    }
    QTRY_COMPARE(HeldInputCount(), std::size_t{0});
    QCOMPARE(form.clicks, clicksAfter);
    QCOMPARE(form.field->text(), textAfter);
    QCOMPARE(form.window.isVisible(), input != "close");
}

// Handed straight to a window a modal box blocks, a click would act behind
// the box: held input waits until no modal box is open.
void TestHeldInput::WaitsForAModalBox()
{
    Form form;
    QVERIFY(QTest::qWaitForWindowExposed(&form.window));
    std::atomic<bool> stop{false};
    {
        HeldInput held({&form.window}, stop);
        QTest::mouseClick(form.button, Qt::LeftButton);
    }
    QDialog box;
    box.setModal(true);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QTest::qWait(200);
    QCOMPARE(form.clicks, 0);
    box.hide();
    QTRY_COMPARE(form.clicks, 1);
}

QTEST_MAIN(TestHeldInput)
#include "test_heldinput.moc"
