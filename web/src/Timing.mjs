// SPDX-License-Identifier: GPL-3.0-or-later
// User Timing measures for the page's two kinds of work the eye waits for: a
// redraw (a zoom, a pan, a slider, a lesson opened, "Vymaž") from the request
// to its pixels on the plane, and a trace from "Kresli" to its end.

export const RedrawMeasure = 'paramcurve-redraw';
export const TraceMeasure = 'paramcurve-trace';

let count = 0;

// Call the returned function once the work's pixels are on the plane.
export function StartMeasure(name)
{
    const mark = `${name}-start-${++count}`;
    performance.mark(mark);
    return () => {
        performance.measure(name, mark);
        performance.clearMarks(mark);
    };
}
