// SPDX-License-Identifier: GPL-3.0-or-later
// The variables' rows follow the formulas as the core's VariablesUsed does:
// the rows of the desktop's own table (tests/trace/test_variablevalues.cpp)
// and the engine's syntax pass (tests/engine/test_normalize.cpp).
import assert from 'node:assert/strict';
import { test } from 'node:test';

import { PressFields } from '../src/PressFields.mjs';
import { VariablesUsed, VariablesUsedBy } from '../src/VariablesUsed.mjs';

test('the variables one formula uses', () => {
    const rows = [
        ['none', '3*cos(t)', ''],
        ['one', 'sin(k*t)', 'k'],
        ['in either case', 'N*t+n', 'n'],
        ['several', 'r*(t-sin(t))+s*x+y*z', 'rsxyz'],
        ['letters of function names are none', 'sqrt(sqr(abs(t)))+arctan(exp(ln(t)))', ''],
        ['pi is none', 'pi*t', ''],
        ['a formula the engine cannot read uses none', 'k *t', ''],
        ['unbalanced', '(k', ''],
        ['every variable', 'k+n+r+s+t+x+y+z', 'knrsxyz'],
        ['in the order of the table, not of the formula', 'z*k', 'kz'],
        ['a decimal comma is a point', '0,5*k', 'k'],
        ['arcsin and arccos hide their letters', 'arcsin(x)+ArcCos(y)', 'xy'],
        ['unary minus and plus', '-k+(+n)', 'kn'],
        ['forms the grammar refuses later still count', '2k', 'k'],
        ['two letters in a run are no variables', 'xy', ''],
        ['a name without its parenthesis', 'sin*k', ''],
        ['a run that is no name', 'sink', ''],
        ['two operators', 'k+-1', ''],
        ['a leading point', '.5*k', ''],
        ['a letter the language lacks', 'k+w', ''],
        ['a Czech letter', 'k*č', ''],
        ['an empty formula', '', ''],
        ['a space', 'k *t', ''],
    ];
    for (const [name, formula, letters] of rows)
        assert.equal(VariablesUsedBy(formula).join(''), letters, name);
});

test('the eight formulas of the panel count, the segment count does not', () => {
    const texts = Object.fromEntries(PressFields.map(field => [field.key, field.startText]));
    assert.deepEqual(VariablesUsed(texts), []);
    assert.deepEqual(VariablesUsed({ ...texts, x1: '-r-1', t2: 'z*pi', y: 'k*sin(t)' }), ['k', 'r', 'z']);
    assert.deepEqual(VariablesUsed({ ...texts, segments: 'n' }), []);
    assert.deepEqual(VariablesUsed({ ...texts, x: 'x', y: 'y' }), ['x', 'y']);
});
