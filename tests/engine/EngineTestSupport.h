// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the engine tests: exact comparison of reals, the fault a
// call raises, and programs written as lists of cells.
#pragma once

#include <QtTest>

#include <cstring>
#include <optional>

#include "FaultTesting.h"
#include "Expression.h"

Q_DECLARE_METATYPE(std::optional<FloatFaultKind>)

struct CellSpec {
    int Tag;
    double Value;
};
using CellList = QList<CellSpec>;
Q_DECLARE_METATYPE(CellList)

inline std::optional<FloatFaultKind> NoFault()
{
    return std::nullopt;
}

inline QByteArray Shown(double v)
{
    return QByteArray::number(v, 'g', 17) + (std::signbit(v) && v == 0.0 ? " (negative zero)" : "");
}

// Bit-for-bit comparison of two reals, failing the test with both values shown.
#define COMPARE_BITS(actual, expected)                                                          \
    do {                                                                                        \
        const double actual_ = (actual);                                                        \
        const double expected_ = (expected);                                                    \
        QVERIFY2(SameBits(actual_, expected_),                                                  \
                 (Shown(actual_) + " is not bit for bit " + Shown(expected_)).constData());     \
    } while (false)

inline QByteArray Bytes(const std::string& s)
{
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

inline PostfixProgram FilledProgram(unsigned char tag, double value)
{
    PostfixProgram program;
    program.fill(PostfixCell{tag, value});
    return program;
}

inline bool SameProgram(const PostfixProgram& a, const PostfixProgram& b)
{
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].Tag != b[i].Tag || !SameBits(a[i].Value, b[i].Value))
            return false;
    }
    return true;
}

// A program with the given code cells, then end cells.
inline PostfixProgram ProgramOf(const CellList& cells)
{
    PostfixProgram program = FilledProgram(EndTag, 0.0);
    for (qsizetype i = 0; i < cells.size() && i < qsizetype(program.size()); ++i)
        program[i] = PostfixCell{static_cast<unsigned char>(cells[i].Tag), cells[i].Value};
    return program;
}

inline QByteArray Describe(const PostfixCell& cell)
{
    const QByteArray tag = cell.Tag >= 0x20 && cell.Tag < 0x7F ? QByteArray(1, char(cell.Tag))
                                                                : "0x" + QByteArray::number(cell.Tag, 16);
    return "(" + tag + ", " + Shown(cell.Value) + ")";
}
