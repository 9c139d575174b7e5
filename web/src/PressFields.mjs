// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's inputs as the core names them (core/press/TracePress.h,
// Presets.h, forms/Control_Panel.ui): each field's lesson key, the name its
// messages use, the name a screen reader hears, its description and its text
// at start; the four example curves; the seven variables. The page builds
// its controls from these tables, so a name is written once.

// In the order of the panel: the two formulas, the world window, the
// parameter range, the segment count. The first eight are a preset's.
export const PressFields = Object.freeze([
    { key: 'x', messageName: 'x =', accessibleName: 'x =',
      description: 'Vzorec x(t), například 3*cos(t)', startText: '3*cos(t)' },
    { key: 'y', messageName: 'y =', accessibleName: 'y =',
      description: 'Vzorec y(t), například 3*sin(t)', startText: '3*sin(t)' },
    { key: 'x1', messageName: 'x, začátek', accessibleName: 'Zorné pole x, začátek',
      description: 'Levý okraj zorného pole, vzorec, například -4', startText: '-4' },
    { key: 'x2', messageName: 'x, konec', accessibleName: 'Zorné pole x, konec',
      description: 'Pravý okraj zorného pole, vzorec, například 4', startText: '4' },
    { key: 'y1', messageName: 'y, začátek', accessibleName: 'Zorné pole y, začátek',
      description: 'Dolní okraj zorného pole, vzorec, například -4', startText: '-4' },
    { key: 'y2', messageName: 'y, konec', accessibleName: 'Zorné pole y, konec',
      description: 'Horní okraj zorného pole, vzorec, například 4', startText: '4' },
    { key: 't1', messageName: 't, začátek', accessibleName: 'Parametr t, začátek',
      description: 'Počáteční hodnota parametru t, vzorec, například 0', startText: '0' },
    { key: 't2', messageName: 't, konec', accessibleName: 'Parametr t, konec',
      description: 'Koncová hodnota parametru t, vzorec, například 2*pi', startText: '2*pi' },
    { key: 'segments', messageName: 'počet segmentů', accessibleName: 'počet segmentů',
      description: 'Počet segmentů křivky, celé číslo od 1 do 1731', startText: '100' },
].map(Object.freeze));

export const PresetFieldCount = 8;

// In the order of the radio buttons; the texts in the order of PressFields.
export const CurvePresets = Object.freeze([
    { name: 'kruznice', caption: 'kružnice', description:
        'Ukázková křivka: zapíše do polí vzorce, zorné pole a rozsah parametru kružnice',
      texts: ['3*cos(t)', '3*sin(t)', '-4', '4', '-4', '4', '0', '6.2833'] },
    { name: 'sikmy-vrh', caption: 'šikmý vrh', description:
        'Ukázková křivka: zapíše do polí vzorce, zorné pole a rozsah parametru šikmého vrhu',
      texts: ['14*t*cos(80*pi/180)', '14*t*sin(80*pi/180)-5*t^2', '-0.5', '10', '-0.5', '10', '0', '3'] },
    { name: 'descartuv-list', caption: 'Descartův list', description:
        'Ukázková křivka: zapíše do polí vzorce, zorné pole a rozsah parametru Descartova listu',
      texts: ['3*t/(1+t^3)', '3*t^2/(1+t^3)', '-3', '3', '-3', '3', '-20', '20'] },
    { name: 'draha-planety', caption: 'dráha planety', description:
        'Ukázková křivka: zapíše do polí vzorce, zorné pole a rozsah parametru dráhy planety',
      texts: ['-1/(1+0.8*cos(t))*cos(t)', '-1/(1+0.8*cos(t))*sin(t)', '-1', '6', '-3.5', '3.5', '-pi', 'pi'] },
].map(Object.freeze));

// In the order of TracePress::Variables, with their keys in a lesson.
export const PressVariables = Object.freeze([
    { letter: 'k', lessonKey: 'k', rangeKey: 'k-slider' },
    { letter: 'n', lessonKey: 'n', rangeKey: 'n-slider' },
    { letter: 'r', lessonKey: 'r', rangeKey: 'r-slider' },
    { letter: 's', lessonKey: 's', rangeKey: 's-slider' },
    { letter: 'x', lessonKey: 'x-value', rangeKey: 'x-slider' },
    { letter: 'y', lessonKey: 'y-value', rangeKey: 'y-slider' },
    { letter: 'z', lessonKey: 'z', rangeKey: 'z-slider' },
].map(Object.freeze));

// A variable as a press carries it at start: value 0, the slider from -10
// to 10 by 0.1, which is 201 values with 0 at step 100.
export const StartVariable = Object.freeze({ value: '0', low: '-10', high: '10', step: '0.1' });
export const StartSlider = Object.freeze({ count: 201, position: 100 });

// The panel at start, apart from the texts: axes on, solid, R 0 G 0 B 200.
export const StartColour = '#0000c8';
export const StartAxes = true;
export const StartDashed = false;

export function FindPressField(key)
{
    return PressFields.find(field => field.key === key) ?? null;
}

export function FindPressVariable(letter)
{
    return PressVariables.find(variable => variable.letter === letter) ?? null;
}

// "R 0, G 0, B 200" for "#0000c8": how the colour box is described.
export function ColourDescription(hex)
{
    const value = /^#([0-9a-f]{6})$/i.exec(hex);
    if (!value)
        return '';
    const n = parseInt(value[1], 16);
    return `R ${(n >> 16) & 255}, G ${(n >> 8) & 255}, B ${n & 255}`;
}
