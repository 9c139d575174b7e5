// SPDX-License-Identifier: GPL-3.0-or-later
// The program's modal boxes: the "Error" box for formula errors and the one
// default fault handler that every event handler hands its exception to.
//
// Boxes go through a replaceable presenter, so tests can capture them
// instead of running a modal loop.
#pragma once

#include <QMessageBox>
#include <QString>

#include <exception>
#include <functional>
#include <stdexcept>
#include <utility>

struct MessageBoxRequest {
    QString title;
    QMessageBox::Icon icon;
    QString text;
};

using MessagePresenter = std::function<void(const MessageBoxRequest&)>;

// Tests capture boxes instead of showing them; empty = real modal QMessageBox.
void SetMessagePresenter(MessagePresenter presenter);

// Title "Error", stop (Critical) icon, one "OK" button.
void ShowErrorBox(const QString& message);

// THE default handler: application title, Critical icon, what() + ".".
void ReportFault(const std::exception& fault);
// The default handler's box with a text of the caller's (a fault's message
// with the input it came from on a line below).
void ShowFaultBox(const QString& text);

// A fault's box with its text already made (the fault's message, maybe a
// second line with its cause): application title, Critical icon.
void ShowFaultBox(const QString& text);

// "Uložit lekci?" before the program ends with presses not saved: "Uložit",
// "Zahodit" or "Zrušit" (also Esc and closing the box).
enum class UnsavedChoice { Save, Discard, Cancel };
UnsavedChoice AskSaveLesson();
// Tests answer instead of the box; empty restores the box.
using UnsavedQuestion = std::function<UnsavedChoice()>;
void SetUnsavedQuestion(UnsavedQuestion question);

// File name without folder, cut before its first ".", letters after the first
// lower-cased: "C:\x\PARAMCURVE.EXE" -> "Paramcurve".
QString ApplicationTitle(const QString& programPath);

// Runs one event handler to its end or to its first exception; the exception
// stops here and is shown by the default handler, so none unwinds through
// the toolkit's frames.
template <typename Handler>
void RunHandler(Handler&& handler) noexcept
{
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception& fault) {
        ReportFault(fault);
    } catch (...) {
        ReportFault(std::runtime_error("Unknown exception"));
    }
}
