// SPDX-License-Identifier: GPL-3.0-or-later
#include "Program.h"

#include <algorithm>

#include "Dialogs.h"
#include "Draw2D.h"
#include "LessonActions.h"
#include "VariablesWindow.h"

Program::Program(PlotDocument& document) : document_(document)
{
    panel_ = new TControl_Panel(document_);  // sets Control_Panel, creates Draw2D
    plot_ = Draw2D;
    if (!plot_)
        return;  // its making failed, and was reported: the panel alone
    explorer_ = InstallPlaneExplorer(*plot_, document_, *panel_);
    menu_ = new PlotMenu(*plot_, *panel_, *panel_, document_, explorer_, [this] { ShowVariables(); });
    // "konec" and closing the plot window end the program: curves not saved
    // as a lesson are offered for saving first.
    const auto mayEnd = [this] {
        bool may = false;
        RunHandler([&] { may = OfferToSaveLesson(document_, *panel_, plot_); });
        return may;
    };
    panel_->MayEnd = mayEnd;
    plot_->MayClose = mayEnd;

    // The variables window has a row for each variable the formulas use,
    // and shows by itself the first time "Kresli" reads one.
    QObject::connect(panel_, &TControl_Panel::TextsChanged, panel_, [this](const TraceTexts& texts) {
        if (variables_)
            variables_->ShowRowsFor(texts);
    });
    QObject::connect(panel_, &TControl_Panel::Pressing, panel_, [this](const TraceTexts& texts) {
        const std::array<bool, VariableCount> used = VariablesUsed(texts);
        if (plot_ && (variables_ || std::find(used.begin(), used.end(), true) != used.end()))
            Variables().ShowIfFirstUsed(texts, *plot_);
    });
}

Program::~Program()
{
    variables_.reset();
    delete panel_;
    delete plot_;
    if (Draw2D == plot_)
        Draw2D = nullptr;
}

TVariables& Program::Variables()
{
    if (!variables_)
        variables_ = std::make_unique<TVariables>(document_, *panel_);
    return *variables_;
}

void Program::ShowVariables()
{
    if (plot_)
        Variables().ShowBeside(*plot_);
}
