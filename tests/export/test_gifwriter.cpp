// SPDX-License-Identifier: GPL-3.0-or-later
// Traces recorded and written as animated GIFs, decoded again with giflib and
// composed frame by frame: every frame must be the plane after its step.
#include <QtTest>

#include <QBuffer>

#include <set>

#include "ExportTestSupport.h"
#include "GifDecode.h"
#include "GifWriter.h"
#include "PictureWriter.h"

namespace {

TraceTexts ShortTrace()
{
    return TraceTexts{"t", "t*t", "-4", "4", "-4", "4", "0", "2", "8"};
}

QByteArray GifOf(const PlaneAnimation& animation, const GifOptions& options, QString* message = nullptr)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const QString written = WriteGif(animation, options, buffer);
    if (message)
        *message = written;
    return buffer.data();
}

std::set<QRgb> ColoursOf(const QImage& image)
{
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    }
    return colours;
}

// The box of pixels that differ between two planes.
QRect DifferenceBox(const QImage& a, const QImage& b)
{
    QRect box;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

// A picture of `count` different colours, one per pixel of the first rows.
QImage ManyColours(int count)
{
    QImage image(100, 100, QImage::Format_RGB888);
    image.fill(Qt::white);
    for (int i = 0; i < count - 1; ++i)
        image.setPixel(i % 100, i / 100, qRgb(i % 256, (i * 7) % 256, 3));
    return image;
}

}  // namespace

class TestGifWriter : public QObject {
    Q_OBJECT

private slots:
    void FramesAreThePlaneAfterEachStep_data();
    void FramesAreThePlaneAfterEachStep();
    void SecondPressStartsFromTheFirstCurve();
    void Options_data();
    void Options();
    void RefusedAnimations_data();
    void RefusedAnimations();
    void ColourLimit_data();
    void ColourLimit();
    void FailedWriteIsReported_data();
    void FailedWriteIsReported();
    void StillPlaneAsOneFrame();
    void EncodedAsTheFramesCome_data();
    void EncodedAsTheFramesCome();
};

void TestGifWriter::FramesAreThePlaneAfterEachStep_data()
{
    QTest::addColumn<TraceTexts>("texts");
    QTest::addColumn<bool>("dashed");
    QTest::addColumn<int>("frames");
    QTest::addColumn<QString>("message");

    QTest::newRow("inputs at start") << StartTexts() << false << 102 << QString();
    QTest::newRow("planet orbit dashed") << PresetTexts(Preset("draha-planety"), "100") << true << 101 << QString();
    // Steps of exactly 1 from -20: t = -1 divides by zero.
    QTest::newRow("folium to t = -1") << PresetTexts(Preset("descartuv-list"), "40") << false << 19
                                      << QStringLiteral("Dělení nulou");
}

void TestGifWriter::FramesAreThePlaneAfterEachStep()
{
    QFETCH(TraceTexts, texts);
    QFETCH(bool, dashed);
    QFETCH(int, frames);
    QFETCH(QString, message);

    auto surface = FreshSurface();
    const RecordedTrace trace = RecordTrace(*surface, texts, dashed);
    QCOMPARE(QString::fromStdString(trace.Outcome.Message), message);
    QCOMPARE(int(trace.StepPlanes.size()), frames);
    QCOMPARE(int(trace.Animation.Frames.size()), frames);

    QString written;
    const QByteArray gif = GifOf(trace.Animation, GifOptions{}, &written);
    QVERIFY2(written.isEmpty(), qPrintable(written));
    const DecodedGif decoded = DecodeGif(gif);
    QVERIFY2(decoded.Error.isEmpty(), qPrintable(decoded.Error));
    QCOMPARE(decoded.Screen, QSize(500, 500));
    QCOMPARE(int(decoded.Frames.size()), frames);
    QCOMPARE(decoded.LoopRepeats, std::optional<int>(0));
    QVERIFY(!decoded.LocalColourTables);

    for (int k = 0; k < frames; ++k) {
        const QImage& plane = trace.StepPlanes[std::size_t(k)];
        QVERIFY2(decoded.Frames[std::size_t(k)] == plane, qPrintable(QStringLiteral("frame %1").arg(k)));
        QCOMPARE(decoded.Delays[std::size_t(k)], k + 1 == frames ? 200 : 5);
        QCOMPARE(decoded.Disposals[std::size_t(k)], DISPOSE_DO_NOT);
        if (k == 0) {
            QCOMPARE(decoded.Rects[0], QRect(0, 0, 500, 500));
            continue;
        }
        // Only the pixels that changed, or one transparent pixel.
        const QRect changed = DifferenceBox(trace.StepPlanes[std::size_t(k - 1)], plane);
        QCOMPARE(decoded.Rects[std::size_t(k)], changed.isEmpty() ? QRect(0, 0, 1, 1) : changed);
    }
    QVERIFY(decoded.Frames.back() == surface->Plane());

    // Exactly the plane's colours, and the transparent index.
    const std::set<QRgb> colours = ColoursOf(ToQImage(surface->Plane()));
    int tableSize = 2;
    while (tableSize < int(colours.size()) + 1)
        tableSize *= 2;
    QCOMPARE(decoded.GlobalColours, tableSize);
}

void TestGifWriter::SecondPressStartsFromTheFirstCurve()
{
    auto surface = FreshSurface();
    const RecordedTrace first = RecordTrace(*surface, StartTexts(), false);
    const QImage afterFirst = ToQImage(surface->Plane()).copy();
    const RecordedTrace second = RecordTrace(*surface, PresetTexts(Preset("sikmy-vrh"), "50"), false);
    QVERIFY(second.Outcome.Ok());
    QVERIFY(second.Animation.Start == afterFirst);

    const DecodedGif decoded = DecodeGif(GifOf(second.Animation, GifOptions{}));
    QCOMPARE(decoded.Frames.size(), second.StepPlanes.size());
    // The first frame: the first curve under the second press's axes.
    QVERIFY(decoded.Frames[0] == second.StepPlanes[0]);
    const QImage circleOnly = first.StepPlanes.back();
    int circleKept = 0, circlePixels = 0;
    for (int y = 0; y < 500; ++y) {
        for (int x = 0; x < 500; ++x) {
            if (circleOnly.pixel(x, y) == CurveColour) {
                ++circlePixels;
                circleKept += decoded.Frames[0].pixel(x, y) == CurveColour;
            }
        }
    }
    QVERIFY(circlePixels > 500);
    QVERIFY(circleKept > circlePixels * 9 / 10);
    for (std::size_t k = 0; k < decoded.Frames.size(); ++k)
        QVERIFY(decoded.Frames[k] == second.StepPlanes[k]);
}

void TestGifWriter::Options_data()
{
    QTest::addColumn<int>("plays");
    QTest::addColumn<int>("frameDelay");
    QTest::addColumn<int>("lastDelay");
    QTest::addColumn<bool>("written");
    QTest::addColumn<int>("repeats");  // -1: no loop block

    QTest::newRow("forever") << 0 << 5 << 200 << true << 0;
    QTest::newRow("once: no block") << 1 << 5 << 200 << true << -1;
    QTest::newRow("three times") << 3 << 5 << 200 << true << 2;
    QTest::newRow("most") << MaxGifPlays << 5 << 200 << true << 65535;
    QTest::newRow("other delays") << 0 << 0 << 65535 << true << 0;
    QTest::newRow("one too many") << MaxGifPlays + 1 << 5 << 200 << false << -1;
    QTest::newRow("negative plays") << -1 << 5 << 200 << false << -1;
    QTest::newRow("delay too long") << 0 << 65536 << 200 << false << -1;
    QTest::newRow("negative delay") << 0 << 5 << -1 << false << -1;
}

void TestGifWriter::Options()
{
    QFETCH(int, plays);
    QFETCH(int, frameDelay);
    QFETCH(int, lastDelay);
    QFETCH(bool, written);
    QFETCH(int, repeats);

    auto surface = FreshSurface();
    const RecordedTrace trace = RecordTrace(*surface, ShortTrace(), false);
    const GifOptions options{frameDelay, lastDelay, plays};
    QString message;
    const QByteArray gif = GifOf(trace.Animation, options, &message);
    QCOMPARE(message.isEmpty(), written);
    if (!written) {
        QVERIFY(gif.isEmpty());
        return;
    }
    const DecodedGif decoded = DecodeGif(gif);
    QVERIFY2(decoded.Error.isEmpty(), qPrintable(decoded.Error));
    QCOMPARE(decoded.LoopRepeats, repeats < 0 ? std::nullopt : std::optional<int>(repeats));
    QCOMPARE(decoded.Frames.size(), trace.StepPlanes.size());
    QCOMPARE(decoded.Delays.front(), frameDelay);
    QCOMPARE(decoded.Delays.back(), lastDelay);
}

void TestGifWriter::RefusedAnimations_data()
{
    QTest::addColumn<QString>("broken");
    QTest::newRow("sound, for comparison") << QString();
    QTest::newRow("no frame") << QStringLiteral("no frame");
    QTest::newRow("no start picture") << QStringLiteral("no start");
    QTest::newRow("pixels smaller than the rectangle") << QStringLiteral("small pixels");
}

void TestGifWriter::RefusedAnimations()
{
    QFETCH(QString, broken);

    auto surface = FreshSurface();
    PlaneAnimation animation = RecordTrace(*surface, ShortTrace(), false).Animation;
    PlaneFrame& last = animation.Frames.back();
    last.Changed = PixelRect(10, 10, 4, 4);
    last.Pixels = RgbImage(4, 4);
    last.Pixels.Fill(0);
    if (broken == QStringLiteral("no frame"))
        animation.Frames.clear();
    else if (broken == QStringLiteral("no start"))
        animation.Start = RgbImage();
    else if (broken == QStringLiteral("small pixels"))
        last.Pixels = last.Pixels.Copy(PixelRect(0, 0, 3, 4));
    QString message;
    const QByteArray gif = GifOf(animation, GifOptions{}, &message);
    QCOMPARE(gif.isEmpty(), !broken.isEmpty());
    QCOMPARE(message.isEmpty(), broken.isEmpty());
    if (broken.isEmpty())
        QCOMPARE(DecodeGif(gif).Frames.back().pixel(11, 11), qRgb(0, 0, 0));
}

void TestGifWriter::ColourLimit_data()
{
    QTest::addColumn<int>("colours");
    QTest::addColumn<bool>("inLaterFrame");
    QTest::addColumn<bool>("written");

    QTest::newRow("255 colours") << 255 << false << true;
    QTest::newRow("256 colours") << 256 << false << false;
    // A frame that brings a colour the global table lacks carries its own.
    QTest::newRow("256th colour in a later frame") << 256 << true << true;
    QTest::newRow("a later frame of 256 colours") << 257 << true << false;
    QTest::newRow("two colours") << 2 << false << true;
}

void TestGifWriter::ColourLimit()
{
    QFETCH(int, colours);
    QFETCH(bool, inLaterFrame);
    QFETCH(bool, written);

    PlaneAnimation animation;
    const QImage picture = ManyColours(colours);
    if (inLaterFrame) {
        animation.Start = FromQImage(ManyColours(colours - 1));
        animation.Frames.push_back(PlaneFrame{});
        animation.Frames.push_back(PlaneFrame{FromQRect(picture.rect()), FromQImage(picture)});
    } else {
        animation.Start = FromQImage(picture);
        animation.Frames.push_back(PlaneFrame{});
    }
    QString message;
    const QByteArray gif = GifOf(animation, GifOptions{}, &message);
    QCOMPARE(message.isEmpty(), written);
    if (!written) {
        QVERIFY(message.contains(QStringLiteral("255 barev")));
        QVERIFY(gif.isEmpty());
        return;
    }
    // No colour changed by the encoding.
    const DecodedGif decoded = DecodeGif(gif);
    QVERIFY2(decoded.Error.isEmpty(), qPrintable(decoded.Error));
    QVERIFY(decoded.Frames.back() == picture);
}

void TestGifWriter::FailedWriteIsReported_data()
{
    QTest::addColumn<qint64>("room");
    QTest::newRow("nothing fits") << qint64(0);
    QTest::newRow("header fits") << qint64(20);
    QTest::newRow("all but the end") << qint64(-1);  // the size of the whole file less one byte
}

void TestGifWriter::FailedWriteIsReported()
{
    QFETCH(qint64, room);

    auto surface = FreshSurface();
    const RecordedTrace trace = RecordTrace(*surface, ShortTrace(), false);
    if (room < 0)
        room = GifOf(trace.Animation, GifOptions{}).size() - 1;
    FullDevice device(room);
    QCOMPARE(WriteGif(trace.Animation, GifOptions{}, device), QStringLiteral("Animaci GIF se nepodařilo zapsat."));
}

void TestGifWriter::StillPlaneAsOneFrame()
{
    auto surface = FreshSurface();
    RecordTrace(*surface, StartTexts(), false);
    PictureSource source;
    source.Plane = &surface->Plane();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QCOMPARE(WritePicture(PictureFormat::Gif, source, buffer), QString());
    const DecodedGif decoded = DecodeGif(buffer.data());
    QCOMPARE(decoded.Frames.size(), std::size_t(1));
    QVERIFY(decoded.Frames[0] == surface->Plane());
}

void TestGifWriter::EncodedAsTheFramesCome_data()
{
    QTest::addColumn<TraceTexts>("texts");
    QTest::addColumn<bool>("axes");
    QTest::newRow("the circle") << StartTexts() << true;
    QTest::newRow("without axes") << StartTexts() << false;
    QTest::newRow("chords across the plane")
        << TraceTexts{"3.9*cos(pi*t)", "3.9*cos(pi*t)*cos(t/50)", "-4", "4", "-4", "4", "0", "60", "60"} << true;
}

// A trace recorded straight into the stream gives the file of the whole
// animation written at once, byte for byte: the table the press's colours
// give is the one all the frames' colours give.
void TestGifWriter::EncodedAsTheFramesCome()
{
    QFETCH(TraceTexts, texts);
    QFETCH(bool, axes);

    auto kept = FreshSurface();
    RecordingHost keptHost;
    TraceRecorder keeping(*kept, keptHost);
    RunPress(*kept, PressOn(*kept, texts, axes), keeping);
    const QByteArray whole = GifOf(keeping.Finish(), GifOptions{});

    auto streamed = FreshSurface();
    RecordingHost host;
    const TracePress press = PressOn(*streamed, texts, axes);
    GifInMemory gif(GifOptions{}, PressColours(press, streamed->Canvas()));
    TraceRecorder recorder(*streamed, host, gif);
    RunPress(*streamed, press, recorder);
    QVERIFY(recorder.Finish().Frames.empty());
    const EncodedGif encoded = gif.Finish();
    QVERIFY2(encoded.Message.empty(), encoded.Message.c_str());
    QVERIFY(!whole.isEmpty());
    QCOMPARE(QByteArray::fromStdString(encoded.Bytes), whole);
}

QTEST_MAIN(TestGifWriter)
#include "test_gifwriter.moc"
