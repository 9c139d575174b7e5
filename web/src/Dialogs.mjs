// SPDX-License-Identifier: GPL-3.0-or-later
// The program's boxes (app/dialogs/Dialogs.cpp): "Error" for a formula error
// or a refusal, the program's name for a fault, each with its message, a
// second line below it where there is one, and one OK button that Enter and
// Esc close alike. Texts from a lesson or a link reach the box only as text.
// A field to mend gets the focus back with its text selected.

export const ErrorTitle = 'Error';
export const FaultTitle = 'Paramcurve';

let open = 0;

// Whether a box is open, for input held back meanwhile.
export function BoxOpen()
{
    return open > 0 || document.querySelector('dialog[open]') !== null;
}

function FocusField(field)
{
    if (!field)
        return;
    field.focus();
    field.select?.();
}

// Shows the box and resolves once it is closed.
export function ShowMessageBox(title, text, field = null)
{
    const box = document.getElementById('message-box');
    document.getElementById('message-title').textContent = title;
    const body = document.getElementById('message-text');
    body.replaceChildren(...String(text).split('\n').map(line => {
        const paragraph = document.createElement('p');
        paragraph.textContent = line;
        return paragraph;
    }));
    ++open;
    return new Promise(resolve => {
        box.addEventListener('close', () => {
            --open;
            FocusField(field);
            resolve();
        }, { once: true });
        box.showModal();
        box.querySelector('button').focus();
    });
}

export function ShowErrorBox(text, field = null)
{
    return ShowMessageBox(ErrorTitle, text, field);
}

export function ShowFaultBox(text, field = null)
{
    return ShowMessageBox(FaultTitle, text, field);
}

// A dialog of the page's own (the picture's name and type, the link to
// copy); resolves with the value of the button that closed it, '' for Esc.
export function RunDialog(box, focus = null)
{
    ++open;
    return new Promise(resolve => {
        box.returnValue = '';
        box.addEventListener('close', () => {
            --open;
            resolve(box.returnValue);
        }, { once: true });
        box.showModal();
        if (focus) {
            focus.focus();
            focus.select?.();
        }
    });
}
