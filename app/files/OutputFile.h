// SPDX-License-Identifier: GPL-3.0-or-later
// Every file the two programs write goes through here, so that what a name
// points at is looked at before anything is written to it:
//  - a symbolic link is followed and its target written; the link stays;
//  - a regular file, or a name that does not exist yet, is written to a
//    temporary file in the same folder and renamed over the name only when
//    complete: the file appears whole or not at all. A new file gets the
//    usual permissions (0666 less the umask); a replaced one keeps its mode
//    and, where allowed, its owner;
//  - a FIFO, a character device (/dev/null, a terminal) or an open descriptor
//    of this process (/dev/stdout, /dev/fd/N, and "-" for standard output)
//    is written in place;
//  - a folder, a socket or a block device is refused with a Czech message.
// Nothing but a regular file is ever deleted or replaced.
#pragma once

#include <QString>

#include <atomic>
#include <functional>

class QIODevice;

// Writes the whole content to the device, which is open for writing and
// unbuffered. False when the writer itself failed (an encoder error); write
// errors of the device are found from the device.
using ContentWriter = std::function<bool(QIODevice& device)>;

struct OutputFileOptions {
    // A FIFO that nobody reads yet: wait for a reader (as a shell's ">" does)
    // or refuse at once (a window must not hang).
    bool WaitForReader = true;
    // When a signal handler interrupts a wait (for a FIFO's reader, or a slow
    // reader) and this flag is set, the write ends as "zápis byl přerušen".
    const std::atomic<bool>* Cancel = nullptr;
};

struct OutputFileResult {
    bool Ok = false;
    // Written to a pipe or FIFO whose reader had gone; the caller may stay quiet.
    bool ReaderGone = false;
    QString Message;  // Czech, a whole sentence; empty when Ok
};

// The name standing for standard output.
inline constexpr char StandardOutputName[] = "-";

// Writes what `write` produces to `path` by the rules above. `what` names the
// content in the accusative for the message, e.g. "Obrázek" gives
// "Obrázek se nepodařilo uložit do souboru X: je to složka."
OutputFileResult WriteOutputFile(const QString& path, const QString& what, const ContentWriter& write,
                                 const OutputFileOptions& options = {});

// The message WriteOutputFile would give at once, before any content is
// made: `path` names something never written (a folder, a socket, a link
// loop…) or a new file in a folder that does not exist. Empty when a write
// may be tried; it may still fail later. For a program that would otherwise
// do long work before finding out.
QString OutputFileRefusal(const QString& path, const QString& what);

// Whether two names reach one file once links are followed (also through
// different spellings, hard links and "-" against /dev/stdout). One name
// given twice always does; otherwise a character device does not count, as
// /dev/null and /dev/tty may well take two outputs.
bool SameOutputFile(const QString& first, const QString& second);

// A command-line program calls this first: a standard descriptor that came
// closed is opened on /dev/null, so no file the program opens can take its
// number (writing "-" then reports that standard output is closed), and
// SIGPIPE and SIGXFSZ are ignored, so a message to a closed standard error
// is lost, not fatal, and a file beyond "ulimit -f" is a write error. (WriteOutputFile itself never dies of SIGPIPE: a reader that went
// away is reported as ReaderGone.)
void GuardStandardDescriptors();

// The path as shown in messages: control and direction characters escaped
// (\uXXXX) so a name cannot play tricks on the terminal.
QString DisplayedPath(const QString& path);
