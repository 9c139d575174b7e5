// SPDX-License-Identifier: GPL-3.0-or-later
// The variables window "Proměnné" (forms/Variables.ui, VariableRow.ui): a row
// for each variable that any of the panel's eight formulas uses, in the order
// k n r s x y z, each with its value, its slider and the slider's range, and
// "Animovat"; then "ponechat stopu" and the status line. Reading a value or a
// range, the slider's steps and redrawing are the core's (Program.mjs asks
// it); this keeps the texts last taken.

import { PressVariables, StartSlider, StartVariable } from './PressFields.mjs';
import { VariablesUsed } from './VariablesUsed.mjs';

function Field(className, name, text)
{
    const input = document.createElement('input');
    input.type = 'text';
    input.className = className;
    input.value = text;
    input.autocomplete = 'off';
    input.spellcheck = false;
    input.setAttribute('aria-label', name);
    return input;
}

function Caption(text)
{
    const span = document.createElement('span');
    span.textContent = text;
    span.setAttribute('aria-hidden', 'true');
    return span;
}

export class VariablesView {
    // `handlers`: readValue(letter), readRange(letter), slide(letter, index),
    // animate(letter).
    constructor(section, handlers)
    {
        this.section = section;
        this.handlers = handlers;
        this.rows = new Map();
        this.noVariables = section.querySelector('#no-variables');
        this.keepTrace = section.querySelector('#keep-trace');
        this.keepTrace.setAttribute('aria-label', 'ponechat stopu');
        this.status = section.querySelector('#variables-status');
        this.shownOnce = false;
        this.shownByItself = false;
        const box = section.querySelector('#variable-rows');
        for (const variable of PressVariables)
            box.append(this.MakeRow(variable.letter));
        section.querySelector('#variables-close').addEventListener('click', () => this.Hide());
        section.addEventListener('keydown', event => {
            if (event.key === 'Escape' && !event.defaultPrevented)
                this.Hide();
        });
    }

    MakeRow(letter)
    {
        const row = document.createElement('div');
        row.className = 'variable-row';
        row.id = `row-${letter}`;
        row.setAttribute('role', 'group');
        row.setAttribute('aria-label', `${letter} =`);
        const label = document.createElement('label');
        label.textContent = `${letter} =`;
        const value = Field('value', `Hodnota ${letter}`, StartVariable.value);
        label.htmlFor = value.id = `value-${letter}`;
        const slider = document.createElement('input');
        slider.type = 'range';
        slider.setAttribute('aria-label', `Posuvník ${letter}`);
        const low = Field('low', `Posuvník ${letter}, dolní mez`, StartVariable.low);
        const high = Field('high', `Posuvník ${letter}, horní mez`, StartVariable.high);
        const step = Field('step', `Posuvník ${letter}, krok`, StartVariable.step);
        const animate = document.createElement('button');
        animate.type = 'button';
        animate.textContent = 'Animovat';
        animate.setAttribute('aria-label', `Animovat ${letter}`);

        const line = document.createElement('div');
        line.className = 'variable-line';
        line.append(label, value, slider);
        const range = document.createElement('div');
        range.className = 'range-line';
        range.append(Caption('od'), low, Caption('do'), high, Caption('krok'), step, animate);
        row.append(line, range);

        const state = { row, value, slider, low, high, step, animate, shown: { ...StartVariable } };
        this.rows.set(letter, state);
        this.PlaceSlider(letter, StartSlider.count, StartSlider.position);

        const readValue = () => this.handlers.readValue(letter);
        value.addEventListener('change', readValue);
        for (const field of [low, high, step])
            field.addEventListener('change', () => this.handlers.readRange(letter));
        slider.addEventListener('input', () => this.handlers.slide(letter, Number(slider.value)));
        slider.addEventListener('keydown', event => {
            // A tenth of the range, as the desktop's page step.
            if (event.key !== 'PageUp' && event.key !== 'PageDown')
                return;
            event.preventDefault();
            const page = Math.max(1, Math.floor((Number(slider.max) + 1) / 10));
            const to = Math.min(Number(slider.max), Math.max(0, Number(slider.value) + (event.key === 'PageUp' ? page : -page)));
            if (to !== Number(slider.value)) {
                slider.value = String(to);
                this.handlers.slide(letter, to);
            }
        });
        animate.addEventListener('click', () => this.handlers.animate(letter));
        return row;
    }

    Row(letter) { return this.rows.get(letter); }

    // The rows of the variables the eight formulas use.
    ShowRowsFor(texts)
    {
        const used = VariablesUsed(texts);
        for (const [letter, state] of this.rows)
            state.row.hidden = !used.includes(letter);
        this.noVariables.hidden = used.length > 0;
        return used;
    }

    PlaceSlider(letter, count, position)
    {
        const { slider } = this.rows.get(letter);
        slider.min = '0';
        slider.max = String(Math.max(0, count - 1));
        slider.step = '1';
        slider.value = String(position);
    }

    // The texts a press carries, under the lesson's keys.
    LessonValues()
    {
        const values = {};
        for (const variable of PressVariables) {
            const { shown } = this.rows.get(variable.letter);
            values[variable.lessonKey] = shown.value;
            values[variable.rangeKey] = [shown.low, shown.high, shown.step];
        }
        return values;
    }

    // A press's (a lesson's) variables into the rows; the sliders follow from
    // what the core says of each (`placed`: letter -> {count, position}).
    ShowValues(press, placed = {})
    {
        for (const variable of PressVariables) {
            const state = this.rows.get(variable.letter);
            const range = Array.isArray(press[variable.rangeKey]) ? press[variable.rangeKey]
                : [StartVariable.low, StartVariable.high, StartVariable.step];
            state.shown = {
                value: typeof press[variable.lessonKey] === 'string' ? press[variable.lessonKey] : StartVariable.value,
                low: range[0], high: range[1], step: range[2],
            };
            state.value.value = state.shown.value;
            state.low.value = state.shown.low;
            state.high.value = state.shown.high;
            state.step.value = state.shown.step;
            const slider = placed[variable.letter] ?? StartSlider;
            this.PlaceSlider(variable.letter, slider.count, slider.position);
        }
    }

    SetStatus(text)
    {
        this.status.textContent = text;
    }

    get Visible() { return !this.section.hidden; }

    Show()
    {
        this.section.hidden = false;
        this.shownOnce = true;
        const first = [...this.rows.values()].find(state => !state.row.hidden);
        (first ? first.value : this.keepTrace).focus();
    }

    Hide()
    {
        this.section.hidden = true;
    }

    // The first time in a run that "Kresli" reads a formula using a variable.
    ShowIfFirstUsed(texts)
    {
        if (this.shownByItself || VariablesUsed(texts).length === 0)
            return false;
        this.shownByItself = true;
        if (!this.Visible) {
            this.section.hidden = false;
            this.shownOnce = true;
        }
        return true;
    }
}
