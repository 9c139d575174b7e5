// SPDX-License-Identifier: GPL-3.0-or-later
// The scrolling view of the variables' rows: a control given the focus, by
// Tab, a click, the program or a screen reader, brings its whole row into
// view (its letter with it), however the view was scrolled.
#pragma once

#include <QScrollArea>

class RowScrollArea : public QScrollArea {
    Q_OBJECT
public:
    explicit RowScrollArea(QWidget* parent = nullptr);

    // Scrolled the least that shows the row holding `control`.
    void ShowRowOf(const QWidget* control);

protected:
    bool focusNextPrevChild(bool next) override;
};
