// SPDX-License-Identifier: GPL-3.0-or-later
// The face of the control panel's captions. The layout's fixed control sizes
// fit Liberation Sans Bold at 16 px, so that face is loaded from its own files
// rather than left to whatever fontconfig substitutes. Where it is missing,
// the face is chosen by measuring: the first installed sans-serif face in
// which every caption fits the room it has on the panel.
#pragma once

#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

inline constexpr int CaptionPixelSize = 16;
inline constexpr int SmallestCaptionPixelSize = 10;

struct CaptionFace {
    QString Family;
    int PixelSize = CaptionPixelSize;
    QFont Font() const;  // bold, PixelSize pixels
};

// Where fonts-liberation (1.x and 2.x) installs Liberation Sans.
QStringList IntendedFaceFiles();

// Registers those of `files` that exist with the font database; the family
// of the first that loads, or empty.
QString LoadIntendedFace(const QStringList& files);

// The intended face, loaded from IntendedFaceFiles() on the first call.
QString IntendedFace();

// Installed sans-serif families that are not fixed pitch and have a bold
// style: faces with Arial's widths first, then the rest by name.
QStringList InstalledSansFaces();

// The controls of `panel` (its direct children) that show a caption.
QList<QWidget*> CaptionControls(const QWidget& panel);

// By how many pixels the caption of `control`, set in `font`, overruns the
// room it has: across, its box less the style's margins and indicator, cut
// off where a sibling control over the same rows begins; up and down, the
// control's bounds. 0 or less means it fits.
int CaptionOverflow(const QWidget& control, const QFont& font);

// The first of `candidates` in which every caption of `panel` fits at 16 px;
// if none does, the first that fits at the largest smaller size, down to
// SmallestCaptionPixelSize. Candidates that are not installed, or lack a
// letter of the captions, are passed over. Empty family when nothing fits.
CaptionFace ChooseCaptionFace(const QWidget& panel, const QStringList& candidates);

// This run's face: the intended face when it loaded, else the choice among
// the installed sans-serif faces measured on `panel` (made once).
CaptionFace CaptionFaceFor(const QWidget& panel);

// Tests decide the face instead (for a panel made without the intended
// face); empty restores the rule above.
using CaptionFaceRule = std::function<CaptionFace(const QWidget& panel)>;
void SetCaptionFaceRule(CaptionFaceRule rule);

// Sets the captions of `panel` in `face` through the caption rule of its
// style sheet; an empty family leaves the layout's face.
void ApplyCaptionFace(QWidget& panel, const CaptionFace& face);
