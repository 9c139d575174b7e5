// SPDX-License-Identifier: GPL-3.0-or-later
// While a trace runs (or "Animovat", or a lesson being drawn): the busy cursor
// after a moment, clicks and keys held back and carried out in order after
// it (HeldInput.mjs), and Esc, which stops it. What a held key does is done
// again by the page's own handlers, or as the browser would have done it:
// a character typed into a field, Backspace, Tab, Space or Enter on a button.

import { HeldInput } from './HeldInput.mjs';

// Work shorter than this shows no busy cursor.
const BusyCursorDelay = 150;

function KeyInit(event)
{
    const init = {};
    for (const name of ['key', 'code', 'location', 'ctrlKey', 'shiftKey', 'altKey', 'metaKey', 'repeat'])
        init[name] = event[name];
    return { ...init, bubbles: true, cancelable: true, composed: true };
}

function PointerInit(event)
{
    const init = {};
    for (const name of ['clientX', 'clientY', 'screenX', 'screenY', 'button', 'buttons', 'ctrlKey', 'shiftKey',
                        'altKey', 'metaKey', 'pointerId', 'pointerType', 'isPrimary', 'deltaX', 'deltaY', 'deltaZ',
                        'deltaMode', 'detail'])
        init[name] = event[name];
    return { ...init, bubbles: true, cancelable: true, composed: true };
}

function Focusables()
{
    return [...document.querySelectorAll('button, input, [tabindex], select, textarea')].filter(element =>
        !element.disabled && element.tabIndex >= 0 && element.getClientRects().length > 0 &&
        !(element.type === 'radio' && !element.checked && element.name &&
          document.querySelector(`input[type="radio"][name="${element.name}"]:checked`)));
}

// What the browser does with a key when no handler of the page took it.
function DefaultAction(target, init)
{
    const field = target instanceof HTMLInputElement && ['text', 'search', ''].includes(target.type) ? target : null;
    if (init.key === 'Tab') {
        const list = Focusables();
        const at = list.indexOf(document.activeElement);
        list[(at + (init.shiftKey ? -1 : 1) + list.length) % list.length]?.focus();
    } else if (field && !init.ctrlKey && !init.altKey && !init.metaKey) {
        const start = field.selectionStart ?? field.value.length;
        const end = field.selectionEnd ?? start;
        if (init.key.length === 1 || init.key === 'Backspace' || init.key === 'Delete') {
            if (init.key.length === 1)
                field.setRangeText(init.key, start, end, 'end');
            else if (start !== end)
                field.setRangeText('', start, end, 'end');
            else if (init.key === 'Backspace' && start > 0)
                field.setRangeText('', start - 1, start, 'end');
            else if (init.key === 'Delete')
                field.setRangeText('', start, start + 1, 'end');
            field.dispatchEvent(new Event('input', { bubbles: true }));
        } else if (init.key === 'Enter') {
            field.dispatchEvent(new Event('change', { bubbles: true }));
            field.form?.requestSubmit();
        } else if (init.key === 'ArrowLeft' || init.key === 'ArrowRight' || init.key === 'Home' || init.key === 'End') {
            const to = init.key === 'Home' ? 0 : init.key === 'End' ? field.value.length
                : Math.max(0, Math.min(field.value.length, start + (init.key === 'ArrowLeft' ? -1 : 1)));
            field.setSelectionRange(to, to);
        }
    } else if ((init.key === ' ' || init.key === 'Enter') && (target instanceof HTMLButtonElement ||
               (target instanceof HTMLInputElement && ['checkbox', 'radio'].includes(target.type)))) {
        target.click();
    } else if (target instanceof HTMLInputElement && target.type === 'range' && init.key.startsWith('Arrow')) {
        const up = init.key === 'ArrowRight' || init.key === 'ArrowUp';
        if (up)
            target.stepUp();
        else
            target.stepDown();
        target.dispatchEvent(new Event('input', { bubbles: true }));
    }
}

export class TraceSession {
    // `stop()` is Esc's; `modalOpen()` tells whether a box is open.
    constructor({ stop, modalOpen })
    {
        this.stop = stop;
        this.held = new HeldInput({ modalOpen });
        this.running = 0;
        for (const type of ['keydown', 'keyup', 'keypress', 'beforeinput', 'paste', 'cut', 'drop',
                            'pointerdown', 'pointerup', 'pointermove', 'mousedown', 'mouseup', 'click',
                            'dblclick', 'auxclick', 'wheel', 'contextmenu'])
            addEventListener(type, event => this.Filter(event), { capture: true, passive: false });
    }

    get Running() { return this.running > 0; }
    get Held() { return this.held; }

    // Runs `work` (a promise) with input held until it settles.
    async Run(work)
    {
        ++this.running;
        this.held.Hold();
        const busy = setTimeout(() => document.body.classList.add('busy'), BusyCursorDelay);
        try {
            return await work();
        } finally {
            clearTimeout(busy);
            if (--this.running === 0) {
                document.body.classList.remove('busy');
                this.held.Release();
            }
        }
    }

    Filter(event)
    {
        if (!this.Running || !event.isTrusted)
            return;
        const target = event.target;
        if (event.type === 'keydown' && event.key === 'Escape') {
            this.stop();
        } else if (event.type === 'keydown') {
            const init = KeyInit(event);
            this.held.Add({
                repeat: event.repeat,
                deliver: () => {
                    const element = target.isConnected ? target : document.activeElement ?? document.body;
                    const replay = new KeyboardEvent('keydown', init);
                    if (element.dispatchEvent(replay))
                        DefaultAction(element, init);
                },
            });
        } else if (event.type === 'click' || event.type === 'contextmenu' || event.type === 'wheel' ||
                   event.type === 'dblclick' ||
                   (target.id === 'plane' && event.type.startsWith('pointer'))) {
            const init = PointerInit(event);
            const Kind = event.type === 'wheel' ? WheelEvent : event.type.startsWith('pointer') ? PointerEvent
                : MouseEvent;
            this.held.Add({
                move: event.type === 'pointermove' ? `${target.id}:${event.buttons}` : undefined,
                deliver: () => {
                    if (!target.isConnected)
                        return;
                    if (event.type === 'click' && target.matches('input, button, [tabindex]'))
                        target.focus();
                    target.dispatchEvent(new Kind(event.type, init));
                },
            });
        }
        // Held or spent: the page does not see it now.
        event.preventDefault();
        event.stopImmediatePropagation();
    }
}
