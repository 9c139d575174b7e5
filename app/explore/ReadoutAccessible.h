// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader sees of the readout's two labels: "Poloha pera", a
// slider along the points of the last press (its value the point's number,
// its description the readout's text), and "Poloha myši", a static text
// whose description is the point under the mouse. Each reports the label's
// box as where it stands, or the plane when nothing is drawn.
#pragma once

#include <QAccessible>

#include <functional>

class ReadoutLabel;

// Makes the toolkit describe every ReadoutLabel so; safe to call again.
void InstallReadoutAccessible();

// Tells a screen reader that the label's text (and for the pen its value)
// changed, so it speaks the new point.
void AnnounceReadout(ReadoutLabel& label);

// Told of each event AnnounceReadout raises, also where no screen reader
// listens and the toolkit drops them (headless tests); empty to stop.
using ReadoutAnnouncementWatcher = std::function<void(QAccessible::Event type, QObject* object)>;
void WatchReadoutAnnouncements(ReadoutAnnouncementWatcher watcher);
