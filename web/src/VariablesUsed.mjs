// SPDX-License-Identifier: GPL-3.0-or-later
// Which of the variables k n r s x y z the formulas use, as the core's
// VariablesUsed answers it (core/press/VariableValues.cpp), so the page can
// show the variables' rows as the texts are typed without asking the core:
// a letter of the formula language outside function names, in a formula the
// engine's syntax pass takes (Graph2d_2007/engine/Normalize.cpp). A formula
// the engine cannot read uses none.

import { PresetFieldCount, PressFields, PressVariables } from './PressFields.mjs';

const FunctionNames = ['ABS', 'SIN', 'SQR', 'SQRT', 'COS', 'ARCTAN', 'ARCSIN', 'ARCCOS', 'EXP', 'LN', 'TAN', 'FA'];
const NameLetters = 'ABCEFIKLNOPQRSTXYZ';
const RunStarters = 'ACEFKLNPRSTXYZ';
const SingleLetters = 'KNRSTXYZ';
const Operators = '+-*/^';

const IsDigit = c => c >= '0' && c <= '9';
const IsOperator = c => c !== '' && Operators.includes(c);
const IsNameLetter = c => c !== '' && NameLetters.includes(c);

function RunLength(s, start)
{
    let end = start;
    while (end < s.length && IsNameLetter(s[end]))
        ++end;
    return end - start;
}

// The variables' letters (upper case) of a formula that passes the syntax
// pass, or null for one that does not.
function LettersOf(text)
{
    if (text.length === 0)
        return null;
    // Only ASCII a-z is upper-cased, as the engine does byte by byte; any
    // other character is none the engine allows.
    let s = '';
    for (const c of text) {
        const upper = c >= 'a' && c <= 'z' ? c.toUpperCase() : c === ',' ? '.' : c;
        if (!(IsDigit(upper) || IsNameLetter(upper) || IsOperator(upper) || '().'.includes(upper)))
            return null;
        s += upper;
    }
    const letters = new Set();
    let opening = 0;
    let closing = 0;
    let i = 0;
    while (i < s.length) {
        const c = s[i];
        const next = s[i + 1] ?? '';
        if (c === '(') {
            ++opening;
        } else if (c === ')') {
            ++closing;
        } else if (IsOperator(c)) {
            if (next === ')' || IsOperator(next))
                return null;
        } else if (c === '.') {
            const previous = s[i - 1] ?? '';
            if (!(IsDigit(previous) || previous === '.') || !(IsDigit(next) || next === '.'))
                return null;
        } else if (IsDigit(c)) {
            // nothing to test
        } else if (RunStarters.includes(c)) {
            const length = RunLength(s, i);
            const run = s.slice(i, i + length);
            if (length === 1) {
                if (!SingleLetters.includes(c))
                    return null;
                letters.add(c);
            } else if (run !== 'PI') {
                // Functions take their argument in parentheses.
                if (!FunctionNames.includes(run) || s[i + length] !== '(')
                    return null;
            }
            i += length;
            continue;
        } else {
            return null;  // a run beginning with B, I, O or Q
        }
        ++i;
    }
    return opening === closing ? letters : null;
}

// The letters of the variables (lower case, in the order of PressVariables)
// one formula uses.
export function VariablesUsedBy(formula)
{
    const letters = LettersOf(String(formula));
    return PressVariables.map(v => v.letter).filter(letter => letters?.has(letter.toUpperCase()));
}

// The variables any of the eight formulas of the panel uses; `texts` maps
// the lesson keys (x, y, x1 … t2) to the texts.
export function VariablesUsed(texts)
{
    const used = new Set();
    for (const field of PressFields.slice(0, PresetFieldCount)) {
        for (const letter of VariablesUsedBy(texts[field.key] ?? ''))
            used.add(letter);
    }
    return PressVariables.map(v => v.letter).filter(letter => used.has(letter));
}
