// Evaluation of a prepared program: the entry test of the error text, then
// the code, which reads the variable slots itself and ends with the value.
#include "PreparedRun.h"

double EvaluatePrepared(PlotState& draw, const PreparedProgram& program, std::string& errorText)
{
    if (!errorText.empty()) [[unlikely]] {
        if (IsCompileMessage(errorText))
            return FailedResult;
        errorText.clear();
    }
    PreparedWork work(program.SineAndCosine);
    return RunPreparedCode(program.Code.data(), work, draw, errorText);
}
