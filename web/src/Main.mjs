// SPDX-License-Identifier: GPL-3.0-or-later
// The program on the page: the control panel, the plot window and the
// variables window "Proměnné", with the core in a worker. What each control
// does is README.md's; the core answers what only it can (drawing, the
// lesson's reader and writer, the readout's texts, zoom and pan, pictures).

import { CoreClient, CoreUnavailable } from './CoreClient.mjs';
import { BoxOpen, RunDialog, ShowErrorBox, ShowFaultBox } from './Dialogs.mjs';
import { Download, EnlargedCanvas } from './Downloads.mjs';
import { DecodeLessonLink, EncodeLessonLink, LessonAddress, LessonOfFragment, LinkRefusal,
         LinkRefusalText, MaxLessonBytes } from './LessonLink.mjs';
import { Panel } from './Panel.mjs';
import { EntryForKey, InText, PlotMenu } from './PlotMenu.mjs';
import { PlotView } from './PlotView.mjs';
import { RedrawMeasure, StartMeasure, TraceMeasure } from './Timing.mjs';
import { TraceSession } from './TraceSession.mjs';
import { VariablesView } from './VariablesView.mjs';

const ReadoutSetting = 'paramcurve-readout';
const LessonName = 'lekce.paramcurve';
const LessonType = 'application/x-paramcurve';

class Program {
    constructor()
    {
        this.document = { presses: 0, canReturn: false, hasAnimation: false, penCount: 0, unsaved: false };
        this.penIndex = null;
        this.readoutOn = localStorage.getItem(ReadoutSetting) === '1';
        this.lastLesson = null;  // the lesson text of what is drawn, to draw again after a restart

        this.core = new CoreClient(new URL('./CoreWorker.mjs', import.meta.url), {
            onPlane: rect => this.plot.Paint(rect),
            onPen: point => this.PenMoved(point),
            onRestart: lost => this.Restarted(lost),
        });
        this.session = new TraceSession({ stop: () => this.core.Stop(), modalOpen: BoxOpen });
        this.panel = new Panel(document.getElementById('panel'));
        this.plot = new PlotView({
            zoom: (x, y, notches, event) => this.Zoom(x, y, notches, event),
            pan: (from, to, drag, event) => this.Pan(from, to, drag, event),
            mouse: (x, y) => this.MouseMoved(x, y),
            mouseLeft: () => this.plot.ShowMouse(''),
            penKey: key => this.PenKey(key),
        });
        this.variables = new VariablesView(document.getElementById('variables'), {
            readValue: letter => this.ReadValue(letter),
            readRange: letter => this.ReadRange(letter),
            slide: (letter, index) => this.Slide(letter, index),
            animate: letter => this.Animate(letter),
        });
        this.menu = new PlotMenu(document.getElementById('plot-menu'), document.getElementById('menu-button'),
                                 id => this.RunEntry(id));
        this.Wire();
        this.ShowDocument(this.document);
        this.plot.ShowReadout(this.readoutOn);
        this.menu.SetChecked('showPosition', this.readoutOn);
        this.variables.ShowRowsFor(this.panel.Texts());
        this.core.ready.then(reply => {
            document.documentElement.dataset.core = reply.core;
        });
        this.OpenLinkOfAddress();
    }

    Wire()
    {
        const form = document.getElementById('panel');
        // Enter in a field submits the form, as the default button.
        form.addEventListener('submit', event => {
            event.preventDefault();
            this.Draw();
        });
        this.panel.clearButton.addEventListener('click', () => this.Clear());
        form.addEventListener('input', () => this.variables.ShowRowsFor(this.panel.Texts()));
        form.addEventListener('textschange', () => this.variables.ShowRowsFor(this.panel.Texts()));

        document.addEventListener('keydown', event => this.Shortcut(event));
        document.getElementById('plot').addEventListener('contextmenu', event => {
            if (event.target.closest('#plot-menu'))
                return;
            event.preventDefault();
            const room = document.getElementById('plot').getBoundingClientRect();
            // From the keyboard (the Menu key, Shift+F10) at the focused control.
            const keyboard = event.button !== 2 || (event.clientX === 0 && event.clientY === 0);
            const box = (keyboard ? document.activeElement : event.target).getBoundingClientRect();
            const x = keyboard ? box.left + box.width / 2 : event.clientX;
            const y = keyboard ? box.top + box.height / 2 : event.clientY;
            this.menu.OpenAt(x - room.left, y - room.top);
        });
        document.getElementById('lesson-file').addEventListener('change', event => this.OpenChosenFile(event.target));
        addEventListener('hashchange', () => this.OpenLinkOfAddress());
        // Presses not saved as a lesson: leaving the page asks first, as
        // ending the desktop program asks "Uložit lekci?" (the browser words
        // the question itself).
        addEventListener('beforeunload', event => {
            if (this.document.unsaved)
                event.preventDefault();
        });
    }

    // The shortcuts of the plot window's entries, anywhere on the page.
    Shortcut(event)
    {
        if (event.defaultPrevented || BoxOpen())
            return;
        const entry = EntryForKey(event);
        if (!entry)
            return;
        if (entry.notInText && InText(event.target))
            return;
        event.preventDefault();
        if (this.menu.Enabled(entry.id))
            this.RunEntry(entry.id);
    }

    RunEntry(id)
    {
        if (this.session.Running)
            return;
        const work = {
            savePicture: () => this.SavePicture(),
            saveAnimation: () => this.SaveAnimation(),
            print: () => this.Print(),
            openLesson: () => document.getElementById('lesson-file').click(),
            saveLesson: () => this.SaveLesson(),
            shareLink: () => this.ShareLink(),
            showPosition: () => this.SetReadout(!this.readoutOn),
            copyPosition: () => this.CopyPosition('copy'),
            copyExactPosition: () => this.CopyPosition('copyExact'),
            originalWindow: () => this.OriginalWindow(),
            variables: () => this.variables.Show(),
        }[id];
        work?.();
    }

    // Boxes for what the core could not do, or a core that is not there.
    async Failed(error)
    {
        if (error instanceof CoreUnavailable)
            await ShowFaultBox(error.message || 'Kreslicí jádro (WebAssembly) není k dispozici.');
        else
            await ShowFaultBox(`${error?.message ?? error}.`);
    }

    async Request(op, args = {}, transfer = [])
    {
        try {
            return await this.core.Request(op, args, transfer);
        } catch (error) {
            await this.Failed(error);
            return null;
        }
    }

    // The document's state after a change: the plane's description, the
    // entries that depend on it, the pen.
    ShowDocument(state)
    {
        if (!state)
            return;
        this.document = { ...this.document, ...state };
        if (typeof state.description === 'string')
            this.plot.Describe(state.description);
        this.menu.SetEnabled('saveAnimation', !!this.document.hasAnimation);
        this.menu.SetEnabled('originalWindow', !!this.document.canReturn);
        if (this.document.penCount === 0)
            this.penIndex = null;
        else if (this.penIndex === null || this.penIndex >= this.document.penCount)
            this.penIndex = this.document.penCount - 1;
        this.menu.SetEnabled('copyPosition', this.penIndex !== null);
        this.menu.SetEnabled('copyExactPosition', this.penIndex !== null);
        if (this.readoutOn)
            this.ShowPenAt(this.penIndex);
    }

    FullPress()
    {
        return { ...this.panel.CurrentPress(), ...this.variables.LessonValues(),
                 'keep-trace': this.variables.keepTrace.checked };
    }

    // The box for a press that ended with an error or a fault, over what was
    // drawn, with the field to mend focused.
    async ShowEnded(result)
    {
        if (!result?.text)
            return;
        const fault = result.end === 'fault';
        const key = fault ? result.adviceField : result.focus;
        const field = key?.startsWith('variable:') ? this.variables.Row(key.slice(9))?.value : this.panel.Field(key);
        field?.focus();
        field?.select?.();
        await (fault ? ShowFaultBox : ShowErrorBox)(result.text, field ?? null);
    }

    async Draw()
    {
        if (this.session.Running)
            return;
        this.variables.ShowIfFirstUsed(this.panel.Texts());
        if (!this.core.Available) {
            await this.core.ready;
            if (!this.core.Available)
                return this.Failed(new CoreUnavailable(this.core.reason));
        }
        const done = StartMeasure(TraceMeasure);
        const press = this.FullPress();
        this.tracedPress = press;
        this.penIndex = null;
        const reply = await this.session.Run(() => this.Request('press', { panel: press }));
        done();
        if (!reply || reply.restarted)
            return;
        this.ShowDocument(reply.document);
        this.RememberLesson();
        await this.ShowEnded(reply.result);
    }

    async Clear()
    {
        if (this.session.Running)
            return;
        const done = StartMeasure(RedrawMeasure);
        if (!this.core.Available) {
            this.plot.Wipe();
            done();
            return;
        }
        const reply = await this.Request('clear');
        done();
        this.ShowDocument(reply?.document);
        this.lastLesson = null;
    }

    // What is drawn as a lesson, kept to draw it again should the core have
    // to be started anew.
    async RememberLesson()
    {
        const reply = await this.core.Request('lessonText', { panel: this.FullPress() }).catch(() => null);
        this.lastLesson = reply?.text ?? null;
    }

    // The worker was ended in a long evaluation after Esc: what was drawn
    // before is drawn again, the stopped press up to where the pen was.
    async Restarted(lost)
    {
        await this.core.ready;
        let lesson = null;
        try {
            lesson = this.lastLesson ? JSON.parse(this.lastLesson) : { 'paramcurve-lesson': 1, drawn: [] };
        } catch {
            lesson = { 'paramcurve-lesson': 1, drawn: [] };
        }
        lesson.drawn ??= [];
        if (lost.op === 'press' && this.penIndex !== null && this.tracedPress)
            lesson.drawn.push({ ...this.tracedPress, 't-before': this.document.nextT ?? '0',
                                'stopped-after': this.penIndex + 1 });
        lesson.panel = this.FullPress();
        const bytes = new TextEncoder().encode(JSON.stringify(lesson));
        const reply = await this.core.Request('openLesson', { bytes: bytes.buffer, restore: true }, [bytes.buffer])
            .catch(() => null);
        if (reply?.ok)
            this.ShowDocument(reply.document);
    }

    OpenChosenFile(input)
    {
        const file = input.files?.[0];
        input.value = '';
        if (!file)
            return;
        if (file.size > MaxLessonBytes) {
            ShowErrorBox(`Lekci ze souboru ${file.name} nelze otevřít: soubor je větší než 1 MiB.`);
            return;
        }
        file.arrayBuffer().then(bytes => this.OpenLessonBytes(bytes, `ze souboru ${file.name}`), () =>
            ShowErrorBox(`Lekci ze souboru ${file.name} nelze otevřít: soubor nelze číst.`));
    }

    // A lesson's bytes: read and checked whole by the core, then drawn on a
    // wiped plane and the panel filled; a lesson that will not do changes
    // nothing.
    async OpenLessonBytes(bytes, from)
    {
        if (this.session.Running)
            return;
        const done = StartMeasure(RedrawMeasure);
        const reply = await this.session.Run(() => this.Request('openLesson', { bytes }, [bytes]));
        if (!reply || reply.restarted)
            return;
        if (!reply.ok) {
            await ShowErrorBox(`Lekci ${from} nelze otevřít: ${reply.problem}.`);
            return;
        }
        done();
        this.panel.ShowPress(reply.panel);
        this.variables.ShowValues(reply.panel, reply.sliders);
        this.variables.keepTrace.checked = reply.panel['keep-trace'] === true;
        this.ShowDocument(reply.document);
        this.RememberLesson();
    }

    async OpenLinkOfAddress()
    {
        const encoded = LessonOfFragment(location.hash);
        if (encoded === null)
            return;
        let bytes;
        try {
            bytes = await DecodeLessonLink(encoded);
        } catch (error) {
            const problem = error instanceof LinkRefusal ? error.problem : String(error);
            await ShowErrorBox(LinkRefusalText(problem));
            return;
        }
        await this.core.ready;
        this.OpenLessonBytes(bytes.buffer, 'z odkazu');
    }

    async LessonText()
    {
        const reply = await this.Request('lessonText', { panel: this.FullPress() });
        if (!reply)
            return null;
        if (typeof reply.text !== 'string') {
            await ShowErrorBox(`Lekci nelze uložit: ${reply.problem}.`);
            return null;
        }
        return reply.text;
    }

    async SaveLesson()
    {
        const text = await this.LessonText();
        if (text === null)
            return;
        Download(LessonName, text, LessonType);
        this.ShowDocument((await this.Request('lessonSaved'))?.document);
    }

    async ShareLink()
    {
        const text = await this.LessonText();
        if (text === null)
            return;
        const address = LessonAddress(location.href, await EncodeLessonLink(text));
        try {
            await navigator.clipboard.writeText(address);
            this.Notice('Odkaz na lekci je zkopírován do schránky.');
        } catch {
            const box = document.getElementById('link-box');
            const field = document.getElementById('link-text');
            field.value = address;
            await RunDialog(box, field);
        }
    }

    Notice(text)
    {
        const notice = document.getElementById('notice');
        notice.textContent = text;
        clearTimeout(this.noticeTimer);
        this.noticeTimer = setTimeout(() => { notice.textContent = ''; }, 5000);
    }

    async SavePicture()
    {
        const box = document.getElementById('picture-box');
        const name = document.getElementById('picture-name');
        if (await RunDialog(box, name) !== 'save')
            return;
        // The format follows the name's extension, else the type chosen; a
        // PNG is as large as the type chosen says.
        const chosen = box.querySelector('input[name="picture-type"]:checked');
        const extension = /\.(png|svg)$/i.exec(name.value)?.[1]?.toLowerCase();
        const type = extension ?? chosen.value;
        const file = extension ? name.value : `${name.value || 'rovina'}.${type}`;
        if (type === 'svg') {
            const reply = await this.Request('svg');
            if (reply?.text)
                Download(file, reply.text, 'image/svg+xml');
            return;
        }
        const scale = chosen.value === 'png' ? Number(chosen.dataset.scale ?? 1) : 1;
        const canvas = scale === 1 ? this.plot.canvas : EnlargedCanvas(this.plot.canvas, scale);
        canvas.toBlob(blob => Download(file, blob, 'image/png'), 'image/png');
    }

    async SaveAnimation()
    {
        const reply = await this.Request('gif');
        if (reply?.bytes)
            Download('animace.gif', new Uint8Array(reply.bytes), 'image/gif');
        else if (reply?.message)
            await ShowErrorBox(reply.message);
    }

    // The browser's print of the plane: the core's vector picture where
    // there is one, else the plane's pixels; under it, as the desktop's
    // print, a line for each press since "Vymaž".
    async Print()
    {
        const sheet = document.getElementById('print-sheet');
        const image = new Image();
        image.alt = 'Rovina';
        let url = null;
        const svg = this.core.Available ? await this.core.Request('svg').catch(() => null) : null;
        const printed = this.core.Available ? await this.core.Request('printCaptions').catch(() => null) : null;
        const captions = document.createElement('div');
        captions.className = 'print-captions';
        for (const line of printed?.captions ?? []) {
            // The formulas are as typed: text, never markup.
            const paragraph = document.createElement('p');
            paragraph.textContent = line;
            captions.append(paragraph);
        }
        if (svg?.text) {
            url = URL.createObjectURL(new Blob([svg.text], { type: 'image/svg+xml' }));
            image.src = url;
        } else {
            image.src = this.plot.canvas.toDataURL('image/png');
        }
        await image.decode().catch(() => {});
        sheet.replaceChildren(image, captions);
        addEventListener('afterprint', () => {
            sheet.replaceChildren();
            if (url)
                URL.revokeObjectURL(url);
        }, { once: true });
        print();
    }

    SetReadout(on)
    {
        this.readoutOn = on;
        localStorage.setItem(ReadoutSetting, on ? '1' : '0');
        this.menu.SetChecked('showPosition', on);
        this.plot.ShowReadout(on);
        if (on)
            this.ShowPenAt(this.penIndex);
    }

    async ShowPenAt(index)
    {
        if (index === null || !this.core.Available) {
            this.plot.ShowPen(null, 0);
            return;
        }
        const reply = await this.core.Request('penReadout', { index }).catch(() => null);
        if (reply && this.penIndex === index && this.readoutOn)
            this.plot.ShowPen({ index, ...reply }, this.document.penCount);
    }

    PenMoved(point)
    {
        this.penIndex = point.index;
        this.document.penCount = point.index + 1;
        this.menu.SetEnabled('copyPosition', true);
        this.menu.SetEnabled('copyExactPosition', true);
        if (this.readoutOn)
            this.plot.ShowPen(point, point.index + 1);
    }

    PenKey(key)
    {
        const count = this.document.penCount;
        if (count === 0)
            return;
        const at = this.penIndex ?? count - 1;
        const to = { ArrowLeft: at - 1, ArrowRight: at + 1, Home: 0, End: count - 1, PageUp: at - 10,
                     PageDown: at + 10 }[key];
        this.penIndex = Math.max(0, Math.min(count - 1, to));
        // A step turns the readout on.
        if (!this.readoutOn)
            this.SetReadout(true);
        else
            this.ShowPenAt(this.penIndex);
    }

    // `kind`: 'copy' as the readout shows the point (tab-separated, decimal
    // comma), 'copyExact' every digit that tells the doubles apart.
    async CopyPosition(kind)
    {
        if (this.penIndex === null)
            return;
        const reply = await this.Request('penReadout', { index: this.penIndex });
        if (reply?.[kind])
            await navigator.clipboard.writeText(reply[kind]).catch(() => {});
    }

    async MouseMoved(x, y)
    {
        if (!this.readoutOn || !this.core.Available || this.session.Running)
            return;
        // The latest point only: a request at a time.
        this.mouseAt = { x, y };
        if (this.mouseBusy)
            return;
        this.mouseBusy = true;
        while (this.mouseAt) {
            const at = this.mouseAt;
            this.mouseAt = null;
            const reply = await this.core.Request('mouseReadout', at).catch(() => null);
            if (reply?.text !== undefined)
                this.plot.ShowMouse(reply.text);
        }
        this.mouseBusy = false;
    }

    // A zoom or a pan: one request at a time, those that came meanwhile
    // after it, the wheel's notches added and a drag's moves taken at its
    // last point.
    async Explore(op, args, event)
    {
        if (!this.core.Available || this.session.Running)
            return;
        this.explores ??= [];
        const last = this.explores[this.explores.length - 1];
        if (last?.op === 'zoom' && op === 'zoom' && last.args.x === args.x && last.args.y === args.y)
            last.args.notches += args.notches;
        else if (last?.op === 'pan' && op === 'pan' && last.args.drag === args.drag)
            Object.assign(last, { args, event });
        else
            this.explores.push({ op, args, event });
        if (this.exploring)
            return;
        this.exploring = true;
        while (this.explores.length > 0) {
            const next = this.explores.shift();
            const done = StartMeasure(RedrawMeasure);
            // The fields as they stand, for the way back to them.
            const reply = await this.Request(next.op, { ...next.args, fields: this.panel.WorldTexts() });
            done();
            if (reply?.refusal)
                this.plot.ShowRefusal(reply.refusal, next.event);
            if (reply?.window)
                this.panel.ShowWindow(reply.window);
            this.ShowDocument(reply?.document);
        }
        this.exploring = false;
    }

    Zoom(x, y, notches, event)
    {
        this.Explore('zoom', { x, y, notches }, event);
    }

    Pan(from, to, drag, event)
    {
        this.Explore('pan', { drag, fromX: from.x, fromY: from.y, toX: to.x, toY: to.y }, event);
    }

    async OriginalWindow()
    {
        const done = StartMeasure(RedrawMeasure);
        const reply = await this.Request('originalWindow');
        done();
        if (reply?.window)
            this.panel.ShowWindow(reply.window);
        this.ShowDocument(reply?.document);
    }

    // The variables window: a refused value or range puts the last good
    // texts back and says why, with the field focused.
    async ReadValue(letter)
    {
        const row = this.variables.Row(letter);
        const text = row.value.value;
        if (text === row.shown.value || this.session.Running)
            return;
        const reply = await this.Request('readValue', { variable: letter, text });
        if (!reply) {
            row.value.value = row.shown.value;
            return;
        }
        if (!reply.ok) {
            row.value.value = row.shown.value;
            await (reply.fault ? ShowFaultBox : ShowErrorBox)(reply.refusal, row.value);
            return;
        }
        row.shown.value = text;
        this.variables.PlaceSlider(letter, reply.count, reply.position);
        this.RedrawLast();
    }

    async ReadRange(letter)
    {
        const row = this.variables.Row(letter);
        const typed = { low: row.low.value, high: row.high.value, step: row.step.value };
        if ((typed.low === row.shown.low && typed.high === row.shown.high && typed.step === row.shown.step)
            || this.session.Running)
            return;
        const reply = await this.Request('readRange', { variable: letter, ...typed });
        const restore = () => {
            row.low.value = row.shown.low;
            row.high.value = row.shown.high;
            row.step.value = row.shown.step;
        };
        if (!reply)
            return restore();
        if (!reply.ok) {
            restore();
            await (reply.fault ? ShowFaultBox : ShowErrorBox)(reply.refusal, row[reply.part] ?? row.low);
            return;
        }
        Object.assign(row.shown, typed);
        this.variables.PlaceSlider(letter, reply.count, reply.position);
        // A value the range left out is at its nearer end now: the last
        // press is drawn with it.
        if (typeof reply.valueText === 'string') {
            row.value.value = row.shown.value = reply.valueText;
            this.RedrawLast();
        }
    }

    async Slide(letter, index)
    {
        const reply = await this.Request('sliderValue', { variable: letter, index });
        if (!reply)
            return;
        const row = this.variables.Row(letter);
        row.value.value = row.shown.value = reply.valueText;
        this.RedrawLast();
    }

    // The last press again with the values as they stand; what moves while
    // a redraw runs is taken by the next, once.
    async RedrawLast()
    {
        if (this.document.presses === 0)
            return;
        if (this.redrawing) {
            this.redrawAgain = true;
            return;
        }
        this.redrawing = true;
        do {
            this.redrawAgain = false;
            const done = StartMeasure(RedrawMeasure);
            const reply = await this.Request('redrawLast', { variables: this.variables.LessonValues() });
            done();
            if (reply) {
                this.variables.SetStatus(reply.line ?? '');
                this.ShowDocument(reply.document);
            }
        } while (this.redrawAgain);
        this.redrawing = false;
    }

    // With nothing drawn yet, the press "Kresli" would make is animated.
    async Animate(letter)
    {
        if (this.session.Running)
            return;
        const done = StartMeasure(TraceMeasure);
        const reply = await this.session.Run(() => this.Request('animate', {
            variable: letter, keepTrace: this.variables.keepTrace.checked, variables: this.variables.LessonValues(),
            panel: this.FullPress(),
        }));
        done();
        if (!reply || reply.restarted)
            return;
        const row = this.variables.Row(letter);
        if (typeof reply.valueText === 'string') {
            row.value.value = row.shown.value = reply.valueText;
            this.variables.PlaceSlider(letter, reply.count, reply.position);
        }
        this.variables.SetStatus(reply.line ?? '');
        this.ShowDocument(reply.document);
        this.RememberLesson();
    }
}

function RegisterServiceWorker()
{
    if (!('serviceWorker' in navigator) || !isSecureContext)
        return;
    navigator.serviceWorker.register(new URL('../sw.js', import.meta.url), { scope: new URL('../', import.meta.url).pathname })
        .catch(() => {});
}

globalThis.paramcurve = new Program();
RegisterServiceWorker();
