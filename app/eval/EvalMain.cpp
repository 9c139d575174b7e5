// SPDX-License-Identifier: GPL-3.0-or-later
// paramcurve-eval: the expression engine on lines of standard input, for
// comparing builds (x87 and software extended, native and WebAssembly).
//
//   paramcurve-eval < LINES      each line T<TAB>FORMULA gives one line
//                                VALUE<TAB>MESSAGE<TAB>FAULT (see EvalLine.h)
//   paramcurve-eval --time       the time per evaluation of the example curves
#include <cstring>
#include <memory>
#include <string>

#include "EvalLine.h"
#include "EvalStreams.h"
#include "EvalTiming.h"
#include "PlotState.h"

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--time") == 0) {
        OutputBuffer output;
        output.Append(TimeExampleCurves());
        return 0;
    }
    if (argc != 1) {
        OutputBuffer output;
        output.Append("usage: paramcurve-eval < LINES   (T<TAB>FORMULA per line)\n"
                      "       paramcurve-eval --time\n");
        return 2;
    }
    auto state = std::make_unique<PlotState>();  // large: off the stack
    InputLines input;
    OutputBuffer output;
    std::string_view line;
    while (input.Next(line)) {
        output.Append(EvaluateLine(line, *state));
        output.Append("\n");
    }
    return 0;
}
