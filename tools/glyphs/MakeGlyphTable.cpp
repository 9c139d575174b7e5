// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the plane's glyph table (Graph2d_2007/surface/GlyphTable.cpp): every
// printable ASCII character drawn by the toolkit exactly as the canvas drew
// its texts before it had the table (CanvasFont, one character at a time at
// a whole pixel, its baseline at the ascent below the text box's top), kept
// as the pixels it inks. Run by hand when the face should change, never by
// the build:
//
//   MakeGlyphTable OUTPUT [FIRST_HEIGHT LAST_HEIGHT]
//
// It refuses to write a table when the face it finds is not DejaVu Sans
// (the face the plane is drawn in), when a glyph is not pure ink on white,
// or when ink reaches the edge of the room it was drawn in.
#include <QByteArray>
#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRawFont>
#include <QSaveFile>
#include <QStringList>
#include <QTextStream>
#include <QtEndian>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>

#include "CanvasFont.h"
#include "GlyphTable.h"

namespace {

constexpr int DefaultFirstHeight = 1;
constexpr int DefaultLastHeight = 32;
const QString ExpectedFamily = QStringLiteral("DejaVu Sans");

struct Glyph {
    char Character = 0;
    int Advance = 0;
    int InkLeft = 0;
    int InkTop = 0;
    int InkWidth = 0;
    QStringList Rows;  // '#' inked, '.' not; written in hexadecimal (GlyphTable.h)
};

struct Face {
    int PixelHeight = 0;
    int Ascent = 0;
    int TextHeight = 0;
    std::vector<Glyph> Glyphs;
};

[[noreturn]] void Fail(const QString& message)
{
    throw std::runtime_error(message.toStdString());
}

// The character drawn as TextOut drew it, with room around it for ink
// beyond its advance and its box; the ink is kept relative to the pen on
// the box's top edge.
Glyph DrawGlyph(const QFont& font, const QFontMetrics& metrics, char c)
{
    Glyph glyph;
    glyph.Character = c;
    glyph.Advance = metrics.horizontalAdvance(QChar::fromLatin1(c));
    const int room = 2 * (metrics.ascent() + metrics.descent()) + 8;
    QImage image(std::max(glyph.Advance, 0) + 2 * room, metrics.ascent() + metrics.descent() + 2 * room,
                 QImage::Format_RGB888);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPoint(room, room + metrics.ascent()), QString(QChar::fromLatin1(c)));
    }
    int left = image.width(), right = -1, top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (pixel == qRgb(255, 255, 255))
                continue;
            if (pixel != qRgb(0, 0, 0))
                Fail(QStringLiteral("'%1' at %2 pixels is antialiased").arg(c).arg(font.pixelSize()));
            if (x == 0 || y == 0 || x == image.width() - 1 || y == image.height() - 1)
                Fail(QStringLiteral("'%1' at %2 pixels overflows its room").arg(c).arg(font.pixelSize()));
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0)
        return glyph;
    glyph.InkLeft = left - room;
    glyph.InkTop = top - room;
    glyph.InkWidth = right - left + 1;
    for (int y = top; y <= bottom; ++y) {
        QString row;
        for (int x = left; x <= right; ++x)
            row += image.pixel(x, y) == qRgb(0, 0, 0) ? u'#' : u'.';
        glyph.Rows << row;
    }
    return glyph;
}

Face DrawFace(int pixelHeight)
{
    const QFont font = CanvasFont(pixelHeight);
    const QString family = QFontInfo(font).family();
    if (family != ExpectedFamily)
        Fail(QStringLiteral("the canvas's face is %1, not %2").arg(family, ExpectedFamily));
    const QFontMetrics metrics(font);
    Face face;
    face.PixelHeight = pixelHeight;
    face.Ascent = metrics.ascent();
    face.TextHeight = metrics.ascent() + metrics.descent();
    for (int c = GlyphFirstCharacter; c <= GlyphLastCharacter; ++c)
        face.Glyphs.push_back(DrawGlyph(font, metrics, char(c)));
    return face;
}

// The file's version string (name 5) from its naming table.
QString FontVersion(const QRawFont& font)
{
    const QByteArray table = font.fontTable("name");
    auto u16 = [&](qsizetype at) {
        return at + 2 <= table.size() ? qFromBigEndian<quint16>(table.constData() + at) : quint16(0);
    };
    const int count = u16(2), strings = u16(4);
    for (int i = 0; i < count; ++i) {
        const qsizetype record = 6 + 12 * qsizetype(i);
        const int platform = u16(record), nameId = u16(record + 6);
        const int length = u16(record + 8), offset = u16(record + 10);
        if (nameId != 5 || strings + offset + length > table.size())
            continue;
        const QByteArray bytes = table.mid(strings + offset, length);
        if (platform == 1)
            return QString::fromLatin1(bytes);
        if (platform == 3 || platform == 0) {
            QString text;
            for (qsizetype k = 0; k + 1 < bytes.size(); k += 2)
                text += QChar(qFromBigEndian<quint16>(bytes.constData() + k));
            return text;
        }
    }
    return QStringLiteral("unknown");
}

QString Run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished() || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QString();
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

// Which file and which package the face came from, for the table's header.
QStringList FaceOrigin(int pixelHeight)
{
    const QFont font = CanvasFont(pixelHeight);
    const QRawFont used = QRawFont::fromFont(font);
    QString file = Run(QStringLiteral("fc-match"), {QStringLiteral("-f"), QStringLiteral("%{file}"), ExpectedFamily});
    // Only a file whose tables are the face's own is named.
    const QRawFont fromFile(file, pixelHeight);
    if (file.isEmpty() || !fromFile.isValid() || fromFile.fontTable("name") != used.fontTable("name") ||
        fromFile.fontTable("glyf") != used.fontTable("glyf"))
        file = QStringLiteral("(file unknown)");
    QString package = QStringLiteral("(package unknown)");
    const QString owner = Run(QStringLiteral("dpkg-query"), {QStringLiteral("-S"), file}).section(u':', 0, 0);
    if (!owner.isEmpty()) {
        const QString version =
            Run(QStringLiteral("dpkg-query"), {QStringLiteral("-W"), QStringLiteral("-f=${Version}"), owner});
        package = QStringLiteral("Debian package %1 %2").arg(owner, version);
    }
    return {QStringLiteral("%1 %2, \"%3\"").arg(used.familyName(), used.styleName(), FontVersion(used)),
            QStringLiteral("%1, %2").arg(file, package),
            QStringLiteral("Qt %1, platform %2").arg(QString::fromLatin1(qVersion()), QGuiApplication::platformName())};
}

// "#.##." as GlyphTable.h has it: "b0".
QString HexRow(const QString& row)
{
    QString digits;
    for (qsizetype at = 0; at < row.size(); at += 4) {
        int digit = 0;
        for (int bit = 0; bit < 4; ++bit)
            digit = digit * 2 + (at + bit < row.size() && row[at + bit] == u'#' ? 1 : 0);
        digits += QString::number(digit, 16);
    }
    return digits;
}

QString CharLiteral(char c)
{
    if (c == '\'' || c == '\\')
        return QStringLiteral("'\\%1'").arg(c);
    return QStringLiteral("'%1'").arg(c);
}

void Write(QTextStream& out, const std::vector<Face>& faces, const QStringList& origin, const QString& command)
{
    out << "// SPDX-License-Identifier: GPL-3.0-or-later\n"
           "// The plane's glyphs (see GlyphTable.h), made by tools/glyphs/MakeGlyphTable, not by\n"
           "// hand; made again, from the top of the source tree, with\n"
           "//   cmake -S . -B build-glyphs -DPARAMCURVE_GLYPH_TOOL=ON\n"
           "//   cmake --build build-glyphs --target MakeGlyphTable\n"
           "//   "
        << command
        << "\n"
           "// from the face\n";
    for (const QString& line : origin)
        out << "//   " << line << "\n";
    out << "// Each glyph: { character, advance, ink left, ink top, ink width, rows of ink\n"
           "// in hexadecimal, four columns a digit, the leftmost in the highest bit }.\n"
           "#include \"GlyphTable.h\"\n"
           "\n"
           "#include <iterator>\n"
           "\n"
           "const GlyphFaceSource GlyphFaceSources[] = {\n";
    // Shallow indents: the rows are most of the file.
    for (const Face& face : faces) {
        out << "// pixel height " << face.PixelHeight << "\n"
            << "{" << face.PixelHeight << ", " << face.Ascent << ", " << face.TextHeight
            << ",  // pixel height, ascent, text height\n"
               "{\n";
        for (const Glyph& g : face.Glyphs) {
            out << "  {" << CharLiteral(g.Character) << ", " << g.Advance << ", " << g.InkLeft << ", " << g.InkTop
                << ", " << g.InkWidth << ",";
            if (g.Rows.isEmpty()) {
                out << " \"\"},\n";
                continue;
            }
            out << "\n";
            for (qsizetype r = 0; r < g.Rows.size(); ++r)
                out << "    \"" << HexRow(g.Rows[r]) << "\"" << (r + 1 == g.Rows.size() ? "},\n" : "\n");
        }
        out << "}},\n";
    }
    out << "};\n"
           "\n"
           "const std::size_t GlyphFaceSourceCount = std::size(GlyphFaceSources);\n";
}

std::optional<int> HeightArgument(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 1 || value > 200)
        return std::nullopt;
    return value;
}

}  // namespace

int main(int argc, char** argv)
{
    // The glyphs are drawn into images: no display, whatever the session has.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    std::optional<int> first = DefaultFirstHeight, last = DefaultLastHeight;
    if (arguments.size() == 4) {
        first = HeightArgument(arguments[2]);
        last = HeightArgument(arguments[3]);
    }
    if ((arguments.size() != 2 && arguments.size() != 4) || !first || !last || *first > *last) {
        std::fprintf(stderr, "usage: MakeGlyphTable OUTPUT [FIRST_HEIGHT LAST_HEIGHT]  (heights 1 to 200)\n");
        return 2;
    }
    try {
        std::vector<Face> faces;
        for (int height = *first; height <= *last; ++height)
            faces.push_back(DrawFace(height));
        QString command = QStringLiteral("build-glyphs/tools/glyphs/MakeGlyphTable Graph2d_2007/surface/GlyphTable.cpp");
        if (*first != DefaultFirstHeight || *last != DefaultLastHeight)
            command += QStringLiteral(" %1 %2").arg(*first).arg(*last);
        QSaveFile file(arguments[1]);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
            Fail(QStringLiteral("cannot write %1: %2").arg(arguments[1], file.errorString()));
        QTextStream out(&file);
        Write(out, faces, FaceOrigin(*first), command);
        out.flush();
        if (!file.commit())
            Fail(QStringLiteral("cannot write %1: %2").arg(arguments[1], file.errorString()));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "MakeGlyphTable: %s\n", error.what());
        return 1;
    }
    return 0;
}
