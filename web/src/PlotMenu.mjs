// SPDX-License-Identifier: GPL-3.0-or-later
// The plot window's entries (app/menu/PlotMenu.cpp) in one table, in the
// desktop's order with "Sdílet odkaz" beside the lessons: the context menu of
// the plane (the right button, the Menu key, Shift+F10), the menu button above
// the plane, and the shortcuts, which work anywhere on the page; "Kopírovat
// polohu" and "Kopírovat polohu přesně" leave Ctrl+C and Ctrl+Shift+C to a
// field or a selection. Nothing runs while a trace
// runs: input waits then.

export const MenuEntries = Object.freeze([
    { id: 'savePicture', text: 'Uložit obrázek…', keys: 'Control+S', key: 's', ctrl: true },
    { id: 'saveAnimation', text: 'Uložit animaci…', keys: 'Control+Shift+A', key: 'a', ctrl: true, shift: true },
    { id: 'print', text: 'Tisk…', keys: 'Control+P', key: 'p', ctrl: true },
    null,
    { id: 'openLesson', text: 'Otevřít lekci…', keys: 'Control+O', key: 'o', ctrl: true },
    { id: 'saveLesson', text: 'Uložit lekci…', keys: 'Control+Shift+S', key: 's', ctrl: true, shift: true },
    { id: 'shareLink', text: 'Sdílet odkaz', keys: 'Control+L', key: 'l', ctrl: true },
    null,
    { id: 'showPosition', text: 'Ukazovat polohu', keys: 'F2', key: 'f2', checkable: true },
    { id: 'copyPosition', text: 'Kopírovat polohu', keys: 'Control+C', key: 'c', ctrl: true, notInText: true },
    { id: 'copyExactPosition', text: 'Kopírovat polohu přesně', keys: 'Control+Shift+C', key: 'c', ctrl: true,
      shift: true, notInText: true },
    { id: 'originalWindow', text: 'Původní zorné pole', keys: 'Control+0', key: '0', ctrl: true },
    { id: 'variables', text: 'Proměnné…', keys: 'Control+R', key: 'r', ctrl: true },
]);

// The shortcut as the menu shows it: "Ctrl+Shift+A".
function Shown(keys)
{
    return keys.replace('Control', 'Ctrl');
}

// The entry whose shortcut the key event is, or null.
export function EntryForKey(event)
{
    const key = event.code?.startsWith('Digit') ? event.code.slice(5) : String(event.key).toLowerCase();
    return MenuEntries.find(entry => entry && entry.key === key && !!entry.ctrl === (event.ctrlKey || event.metaKey)
                            && !!entry.shift === event.shiftKey && !event.altKey) ?? null;
}

// Whether the focus is where typing or a selection owns Ctrl+C.
export function InText(target)
{
    if (target instanceof HTMLInputElement)
        return !['checkbox', 'radio', 'range', 'color', 'button', 'submit'].includes(target.type);
    if (target instanceof HTMLTextAreaElement || target?.isContentEditable)
        return true;
    const selection = document.getSelection();
    return selection !== null && !selection.isCollapsed;
}

export class PlotMenu {
    // `run(id)` carries an entry out.
    constructor(menu, button, run)
    {
        this.menu = menu;
        this.button = button;
        this.run = run;
        this.items = new Map();
        this.returnFocus = null;
        for (const entry of MenuEntries) {
            if (!entry) {
                const line = document.createElement('div');
                line.setAttribute('role', 'separator');
                menu.append(line);
                continue;
            }
            const item = document.createElement('button');
            item.type = 'button';
            item.id = `menu-${entry.id}`;
            item.tabIndex = -1;
            item.setAttribute('role', entry.checkable ? 'menuitemcheckbox' : 'menuitem');
            if (entry.checkable)
                item.setAttribute('aria-checked', 'false');
            item.setAttribute('aria-label', entry.text);
            item.setAttribute('aria-keyshortcuts', entry.keys);
            const text = document.createElement('span');
            text.textContent = entry.text;
            const keys = document.createElement('kbd');
            keys.textContent = Shown(entry.keys);
            item.append(text, keys);
            item.addEventListener('click', () => {
                this.Close(false);
                this.run(entry.id);
            });
            menu.append(item);
            this.items.set(entry.id, item);
        }
        menu.addEventListener('keydown', event => this.MenuKey(event));
        menu.addEventListener('focusout', event => {
            if (!menu.contains(event.relatedTarget) && event.relatedTarget !== null)
                this.Close(false);
        });
        button.addEventListener('click', () => (this.IsOpen ? this.Close(true) : this.OpenBelow(button)));
        document.addEventListener('pointerdown', event => {
            if (this.IsOpen && !menu.contains(event.target) && event.target !== button)
                this.Close(false);
        }, true);
    }

    get IsOpen() { return !this.menu.hidden; }

    SetEnabled(id, enabled)
    {
        this.items.get(id).disabled = !enabled;
    }

    SetChecked(id, checked)
    {
        this.items.get(id).setAttribute('aria-checked', String(checked));
    }

    Enabled(id)
    {
        return !this.items.get(id).disabled;
    }

    OpenBelow(element)
    {
        const room = this.menu.offsetParent ?? document.body;
        const base = room.getBoundingClientRect();
        const box = element.getBoundingClientRect();
        this.OpenAt(box.left - base.left, box.bottom - base.top);
    }

    // At a point of the plot section.
    OpenAt(x, y)
    {
        this.returnFocus = document.activeElement;
        this.menu.hidden = false;
        this.button.setAttribute('aria-expanded', 'true');
        const room = this.menu.offsetParent ?? document.body;
        const left = Math.max(0, Math.min(x, room.clientWidth - this.menu.offsetWidth));
        this.menu.style.left = `${left}px`;
        this.menu.style.top = `${Math.max(0, y)}px`;
        this.Enabledones()[0]?.focus();
    }

    Close(refocus)
    {
        if (!this.IsOpen)
            return;
        this.menu.hidden = true;
        this.button.setAttribute('aria-expanded', 'false');
        if (refocus)
            this.returnFocus?.focus();
    }

    Enabledones()
    {
        return [...this.items.values()].filter(item => !item.disabled);
    }

    MenuKey(event)
    {
        const items = this.Enabledones();
        const at = items.indexOf(document.activeElement);
        const moveTo = index => {
            event.preventDefault();
            items[(index + items.length) % items.length]?.focus();
        };
        switch (event.key) {
        case 'ArrowDown': return moveTo(at + 1);
        case 'ArrowUp': return moveTo(at - 1);
        case 'Home': return moveTo(0);
        case 'End': return moveTo(items.length - 1);
        case 'Escape':
            event.preventDefault();
            event.stopPropagation();
            return this.Close(true);
        case 'Tab':
            return this.Close(false);
        default:
            break;
        }
    }
}
