// SPDX-License-Identifier: GPL-3.0-or-later
// The program's windows and how they meet: the control panel (whose making
// makes the plot window), the plot window's menu, the readout, zoom and pan,
// and the variables window, made when first needed. Each is handed the
// document; none reaches into another's state.
#pragma once

#include <memory>

#include "ControlPanel.h"
#include "PlaneExplorer.h"
#include "PlotDocument.h"
#include "PlotMenu.h"

class TDraw2D;
class TVariables;

class Program {
public:
    explicit Program(PlotDocument& document);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    TControl_Panel& Panel() { return *panel_; }
    // Null when making the plot window failed (the panel then stands alone).
    TDraw2D* PlotWindow() { return plot_; }
    PlotMenu* Menu() { return menu_; }
    const PlaneExplorer& Explorer() const { return explorer_; }

    // The variables window, made (hidden) on first use; null before.
    TVariables* VariablesIfMade() { return variables_.get(); }
    TVariables& Variables();
    // Ctrl+R and "Proměnné…".
    void ShowVariables();

private:
    PlotDocument& document_;
    TControl_Panel* panel_ = nullptr;
    TDraw2D* plot_ = nullptr;
    PlaneExplorer explorer_;
    PlotMenu* menu_ = nullptr;
    std::unique_ptr<TVariables> variables_;
};
