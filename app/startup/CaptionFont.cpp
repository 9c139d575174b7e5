// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaptionFont.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>
#include <optional>
#include <utility>

namespace {

QString CaptionOf(const QWidget& control)
{
    if (const auto* label = qobject_cast<const QLabel*>(&control))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control))
        return button->text();
    return QString();
}

// The part of `control` (in its parent's coordinates) the style leaves for
// the caption: inside a button's bevel, right of a check or radio indicator.
QRect CaptionBox(const QWidget& control)
{
    const auto* button = qobject_cast<const QAbstractButton*>(&control);
    if (!button)
        return control.contentsRect().translated(control.pos());
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    QStyle::SubElement element = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox*>(button))
        element = QStyle::SE_CheckBoxContents;
    else if (qobject_cast<const QRadioButton*>(button))
        element = QStyle::SE_RadioButtonContents;
    else if (const auto* push = qobject_cast<const QPushButton*>(button)) {
        if (push->autoDefault() || push->isDefault())
            option.features |= QStyleOptionButton::AutoDefaultButton;
    }
    return button->style()->subElementRect(element, &option, button).translated(control.pos());
}

// Where the style puts the caption inside its box.
Qt::Alignment CaptionAlignment(const QWidget& control)
{
    if (const auto* label = qobject_cast<const QLabel*>(&control))
        return label->alignment();
    if (qobject_cast<const QPushButton*>(&control))
        return Qt::AlignCenter;
    return Qt::AlignLeft | Qt::AlignVCenter;
}

int TextWidth(const QFontMetrics& metrics, const QString& text)
{
    // Ink may reach past the advance (a bold glyph's overhang).
    return std::max(metrics.horizontalAdvance(text), metrics.tightBoundingRect(text).right() + 1);
}

// "Nimbus Sans [urw]" -> "Nimbus Sans": the database names a family with its
// foundry where several foundries have one.
QString WithoutFoundry(const QString& family)
{
    return family.section(QStringLiteral(" ["), 0, 0);
}

// The face really resolves to `family` in an upright bold and has every
// letter of the captions.
bool CanShow(const QFont& font, const QString& family, const QString& letters)
{
    const QFontInfo info(font);
    if (WithoutFoundry(info.family()).compare(WithoutFoundry(family), Qt::CaseInsensitive) != 0 ||
        info.italic() || !info.bold())
        return false;
    const QFontMetrics metrics(font);
    for (char32_t c : letters.toUcs4()) {
        if (c != U' ' && !metrics.inFontUcs4(c))
            return false;
    }
    return true;
}

bool AllFit(const QList<QWidget*>& controls, const QFont& font)
{
    return std::all_of(controls.begin(), controls.end(),
                       [&font](const QWidget* control) { return CaptionOverflow(*control, font) <= 0; });
}

bool LooksSansSerif(const QString& family)
{
    static const QStringList knownSans = {
        QStringLiteral("Arial"),    QStringLiteral("Helvetica"), QStringLiteral("Arimo"),
        QStringLiteral("FreeSans"), QStringLiteral("Cantarell"), QStringLiteral("Carlito"),
        QStringLiteral("Ubuntu"),   QStringLiteral("Roboto"),    QStringLiteral("Lato"),
        QStringLiteral("Verdana"),  QStringLiteral("Tahoma"),    QStringLiteral("TeX Gyre Heros")};
    if (knownSans.contains(WithoutFoundry(family), Qt::CaseInsensitive))
        return true;
    return family.contains(QStringLiteral("Sans")) && !family.contains(QStringLiteral("Mono"));
}

bool HasBold(const QString& family)
{
    const QStringList styles = QFontDatabase::styles(family);
    return std::any_of(styles.begin(), styles.end(), [&family](const QString& style) {
        return QFontDatabase::weight(family, style) >= QFont::DemiBold;
    });
}

}  // namespace

QFont CaptionFace::Font() const
{
    QFont font(Family);
    font.setPixelSize(PixelSize);
    font.setBold(true);
    return font;
}

QStringList IntendedFaceFiles()
{
    return {QStringLiteral("/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf"),
            QStringLiteral("/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf"),
            QStringLiteral("/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"),
            QStringLiteral("/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf")};
}

QString LoadIntendedFace(const QStringList& files)
{
    QString family;
    for (const QString& file : files) {
        if (!QFile::exists(file))
            continue;
        const QStringList families = QFontDatabase::applicationFontFamilies(QFontDatabase::addApplicationFont(file));
        if (family.isEmpty() && !families.isEmpty())
            family = families.first();
    }
    return family;
}

QString IntendedFace()
{
    static const QString family = LoadIntendedFace(IntendedFaceFiles());
    return family;
}

QStringList InstalledSansFaces()
{
    // Arial's widths are what the control sizes were made for.
    static const QStringList arialWidths = {
        QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),     QStringLiteral("Nimbus Sans"),
        QStringLiteral("Nimbus Sans L"),   QStringLiteral("Helvetica"), QStringLiteral("Arial"),
        QStringLiteral("FreeSans"),        QStringLiteral("TeX Gyre Heros")};
    QStringList rest;
    QStringList faces;
    const QStringList installed = QFontDatabase::families(QFontDatabase::Latin);
    for (const QString& family : installed) {
        if (QFontDatabase::isPrivateFamily(family) || QFontDatabase::isFixedPitch(family) ||
            !LooksSansSerif(family) || !HasBold(family))
            continue;
        (arialWidths.contains(WithoutFoundry(family)) ? faces : rest).append(family);
    }
    std::stable_sort(faces.begin(), faces.end(), [](const QString& a, const QString& b) {
        return arialWidths.indexOf(WithoutFoundry(a)) < arialWidths.indexOf(WithoutFoundry(b));
    });
    faces.removeDuplicates();
    rest.sort(Qt::CaseInsensitive);
    rest.removeDuplicates();
    return faces + rest;
}

QList<QWidget*> CaptionControls(const QWidget& panel)
{
    QList<QWidget*> controls;
    for (QWidget* child : panel.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow() && !CaptionOf(*child).isEmpty())
            controls.append(child);
    }
    return controls;
}

int CaptionOverflow(const QWidget& control, const QFont& font)
{
    const QString text = CaptionOf(control);
    const QFontMetrics metrics(font);
    const QRect box = CaptionBox(control);
    const Qt::Alignment alignment = CaptionAlignment(control);
    const int width = TextWidth(metrics, text);

    int left = box.left();
    if (alignment & Qt::AlignHCenter)
        left += (box.width() - width) / 2;
    else if (alignment & Qt::AlignRight)
        left = box.right() + 1 - width;
    // The line box is placed as the toolkit lays out text, in fractions of
    // a pixel; the glyphs then stand on the nearest whole row.
    const QFontMetricsF exact(font);
    qreal lineTop = box.top();
    if (alignment & Qt::AlignVCenter)
        lineTop += (box.height() - exact.height()) / 2;
    else if (alignment & Qt::AlignBottom)
        lineTop = box.bottom() + 1 - exact.height();
    const QRect ink = metrics.tightBoundingRect(text).translated(left, qRound(lineTop + exact.ascent()));

    // The room ends at the box, or where a sibling over the rows the letters
    // take begins: a label's text running on under the field beside it is
    // not seen.
    int end = box.right() + 1;
    const QRect band(left, ink.top(), std::max(box.right() + 1 - left, 1), std::max(ink.height(), 1));
    if (const QWidget* parent = control.parentWidget()) {
        for (const QWidget* sibling : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            const QRect other = sibling->geometry();
            if (sibling != &control && !sibling->isWindow() && sibling->isVisibleTo(parent) &&
                other.intersects(band) && other.left() > left)
                end = std::min(end, other.left());
        }
    }
    // Above and below, the control's own bounds cut the letters off (a face
    // with a tall line box pushes descenders out of a low radio button).
    const QRect bounds = control.geometry();
    const int vertical = std::max(bounds.top() - ink.top(), ink.bottom() - bounds.bottom());
    return std::max({left + width - end, box.left() - left, vertical});
}

CaptionFace ChooseCaptionFace(const QWidget& panel, const QStringList& candidates)
{
    const QList<QWidget*> controls = CaptionControls(panel);
    QString letters;
    for (const QWidget* control : controls)
        letters += CaptionOf(*control);
    // By the family's plain name, as the style sheet asks for it: the
    // foundry the font database then picks is the one measured.
    QStringList usable;
    for (const QString& candidate : candidates) {
        const QString family = WithoutFoundry(candidate);
        if (!usable.contains(family) && CanShow(CaptionFace{family}.Font(), family, letters))
            usable.append(family);
    }
    for (int size = CaptionPixelSize; size >= SmallestCaptionPixelSize; --size) {
        for (const QString& family : usable) {
            const CaptionFace face{family, size};
            if (AllFit(controls, face.Font()))
                return face;
        }
    }
    return CaptionFace{};
}

namespace {

CaptionFaceRule& TestRule()
{
    static CaptionFaceRule rule;
    return rule;
}

}  // namespace

void SetCaptionFaceRule(CaptionFaceRule rule)
{
    TestRule() = std::move(rule);
}

CaptionFace CaptionFaceFor(const QWidget& panel)
{
    if (TestRule())
        return TestRule()(panel);
    static std::optional<CaptionFace> chosen;
    if (!chosen) {
        const QString intended = IntendedFace();
        chosen = intended.isEmpty() ? ChooseCaptionFace(panel, InstalledSansFaces()) : CaptionFace{intended};
    }
    return *chosen;
}

void ApplyCaptionFace(QWidget& panel, const CaptionFace& face)
{
    if (face.Family.isEmpty())
        return;
    // The caption rule is the one bold font of the layout's style sheet.
    static const QRegularExpression captionFont(QStringLiteral(R"(font:\s*bold\s+\d+px\s+"[^"]*")"));
    QString sheet = panel.styleSheet();
    sheet.replace(captionFont, QStringLiteral("font: bold %1px \"%2\"").arg(face.PixelSize).arg(face.Family));
    // Controls not yet polished would keep the rules of the sheet they were
    // made under when the new one comes.
    panel.ensurePolished();
    panel.setStyleSheet(sheet);
}
