// SPDX-License-Identifier: GPL-3.0-or-later
// The control panel: the nine fields with their names from PressFields, the
// four example curves, "ukaž osy", "přerušovat", the curve colour, "Kresli"
// and "Vymaž". It reads and shows a press as the lesson keys name it.

import { ColourDescription, CurvePresets, PresetFieldCount, PressFields } from './PressFields.mjs';

export class Panel {
    constructor(root)
    {
        this.root = root;
        this.fields = new Map();
        for (const field of PressFields) {
            const input = root.querySelector(`input[data-key="${field.key}"]`);
            input.type = 'text';
            input.value = field.startText;
            input.autocomplete = 'off';
            input.spellcheck = false;
            input.setAttribute('autocapitalize', 'off');
            // "x =" and "y =" are named by their visible labels.
            if (!input.labels || input.labels.length === 0 || input.labels[0].textContent !== field.accessibleName)
                input.setAttribute('aria-label', field.accessibleName);
            input.setAttribute('aria-description', field.description);
            this.fields.set(field.key, input);
        }
        this.MakePresets(root.querySelector('.presets'));
        this.axes = root.querySelector('#axes');
        this.dashed = root.querySelector('#dashed');
        this.colour = root.querySelector('#colour');
        this.drawButton = root.querySelector('#draw');
        this.clearButton = root.querySelector('#clear');
        this.colour.addEventListener('input', () => this.DescribeColour());
        this.DescribeColour();
    }

    MakePresets(group)
    {
        this.presets = CurvePresets.map((preset, i) => {
            const label = document.createElement('label');
            const radio = document.createElement('input');
            radio.type = 'radio';
            radio.name = 'preset';
            radio.value = preset.name;
            radio.checked = i === 0;  // checked at start, and not applied
            radio.setAttribute('aria-description', preset.description);
            // Only the button that becomes checked writes its texts.
            radio.addEventListener('change', () => {
                if (radio.checked)
                    this.WritePreset(preset);
            });
            label.append(radio, ` ${preset.caption}`);
            group.append(label);
            return radio;
        });
    }

    WritePreset(preset)
    {
        for (let i = 0; i < PresetFieldCount; ++i)
            this.fields.get(PressFields[i].key).value = preset.texts[i];
        this.root.dispatchEvent(new Event('textschange'));
    }

    Field(key)
    {
        return this.fields.get(key) ?? null;
    }

    IsField(element)
    {
        return [...this.fields.values()].includes(element);
    }

    // The nine texts under their lesson keys.
    Texts()
    {
        return Object.fromEntries([...this.fields].map(([key, input]) => [key, input.value]));
    }

    // The press as the panel holds it, in the lesson's keys (the variables
    // are the variables window's, t the document's).
    CurrentPress()
    {
        return { ...this.Texts(), color: this.colour.value.toLowerCase(), axes: this.axes.checked,
                 dashed: this.dashed.checked };
    }

    // A press (a lesson's panel) into the fields.
    ShowPress(press)
    {
        for (const [key, input] of this.fields) {
            if (typeof press[key] === 'string')
                input.value = press[key];
        }
        if (typeof press.axes === 'boolean')
            this.axes.checked = press.axes;
        if (typeof press.dashed === 'boolean')
            this.dashed.checked = press.dashed;
        if (typeof press.color === 'string' && /^#[0-9a-f]{6}$/i.test(press.color))
            this.colour.value = press.color.toLowerCase();
        this.DescribeColour();
        this.root.dispatchEvent(new Event('textschange'));
    }

    // The four texts of "Zorné pole", {x1, x2, y1, y2}.
    WorldTexts()
    {
        return Object.fromEntries(['x1', 'x2', 'y1', 'y2'].map(key => [key, this.fields.get(key).value]));
    }

    ShowWindow(window)
    {
        for (const key of ['x1', 'x2', 'y1', 'y2']) {
            if (typeof window[key] === 'string')
                this.fields.get(key).value = window[key];
        }
    }

    // A screen reader cannot see the colour: it hears it as numbers.
    DescribeColour()
    {
        this.colour.setAttribute('aria-description', ColourDescription(this.colour.value));
    }
}
