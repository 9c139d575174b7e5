// SPDX-License-Identifier: GPL-3.0-or-later
// A successful evaluation allocates nothing, by EvaluatePostfix or by the
// prepared form: every operator new of this program is counted while the
// evaluations run.
#include <QtTest>

#include <atomic>
#include <cstdlib>
#include <new>

#include "EngineTestSupport.h"
#include "PreparedProgram.h"

namespace {

std::atomic<long> Allocations{0};

}  // namespace

void* operator new(std::size_t size)
{
    ++Allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

class TestNoAlloc : public QObject {
    Q_OBJECT

private slots:
    void successfulEvaluation_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("prepared");
        for (const char* text : {"3*cos(t)", "3*sin(t)", "14*t*cos(80*pi/180)", "14*t*sin(80*pi/180)-5*t^2",
                                 "3*t/(1+t^3)", "3*t^2/(1+t^3)", "-1/(1+0.8*cos(t))*cos(t)",
                                 "-1/(1+0.8*cos(t))*sin(t)", "exp(t)+ln(t+2)+arctan(t)+tan(t)+sqrt(t*t)",
                                 "arcsin(t/9)+arccos(t/9)+abs(t)+sqr(t)+fa(3)+t^0.5",
                                 "2^t+(-8)^(t*0)+t^(-2)+3/t-t*x+2*pi"}) {
            QTest::addRow("%s", text) << QString(text) << false;
            QTest::addRow("%s, prepared", text) << QString(text) << true;
        }
    }
    void successfulEvaluation()
    {
        QFETCH(QString, text);
        QFETCH(bool, prepared);
        PlotState draw;
        PostfixProgram program{};
        CompileExpression(draw, text.toStdString(), draw.ErrorText, program);
        QCOMPARE(Bytes(draw.ErrorText), QByteArray());
        const PreparedProgram preparedProgram = PrepareProgram(program);
        draw.ErrorText = "Dělení nulou, a message long enough to live on the heap";

        const long before = Allocations.load();
        double sum = 0.0;
        for (int step = 0; step <= 100; ++step) {
            draw.VarT = 0.01 + step * 0.0625;
            sum += prepared ? EvaluatePrepared(draw, preparedProgram, draw.ErrorText)
                            : EvaluatePostfix(draw, program, draw.ErrorText);
        }
        const long during = Allocations.load() - before;

        QCOMPARE(Bytes(draw.ErrorText), QByteArray());
        QVERIFY(std::isfinite(sum));
        QCOMPARE(during, 0L);
    }

    // The counter itself works: a compile does allocate.
    void counterSeesAllocations()
    {
        PlotState draw;
        PostfixProgram program{};
        const long before = Allocations.load();
        CompileExpression(draw, "3*cos(t)+" + std::string(100, '1'), draw.ErrorText, program);
        QVERIFY(Allocations.load() > before);
    }
};

QTEST_APPLESS_MAIN(TestNoAlloc)
#include "test_noalloc.moc"
