// SPDX-License-Identifier: GPL-3.0-or-later
// The lesson link's codec: base64url against the RFC 4648 vectors, raw DEFLATE
// against Node's zlib, and every refusal, the bomb included.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import zlib from 'node:zlib';

import {
    DecodeBase64Url, DecodeLessonLink, EncodeBase64Url, EncodeLessonLink, InflateCapped, LessonAddress,
    LessonOfFragment, LinkProblems, LinkRefusal, LinkRefusalText, MaxLessonBytes,
} from '../src/LessonLink.mjs';

const Lesson = `{
    "paramcurve-lesson": 1,
    "panel": {"x": "2*cos(t)", "y": "2*sin(t)", "x1": "-4", "x2": "4", "y1": "-4", "y2": "4",
              "t1": "0", "t2": "2*pi", "segments": "60", "color": "#00a000",
              "axes": true, "dashed": false, "t-before": "0"},
    "drawn": [
        {"x": "3*cos(t)", "y": "3*sin(t)", "x1": "-4", "x2": "4", "y1": "-4", "y2": "4",
         "t1": "0", "t2": "2*pi", "segments": "100", "color": "#0000c8",
         "axes": true, "dashed": false, "t-before": "0"}
    ]
}
`;

const Text = bytes => new TextDecoder().decode(bytes);

async function Refusal(promise)
{
    try {
        await promise;
    } catch (error) {
        assert.ok(error instanceof LinkRefusal, `not a refusal: ${error}`);
        return error;
    }
    assert.fail('the link was taken');
}

test('base64url: the RFC 4648 vectors, without padding', () => {
    const vectors = [['', ''], ['f', 'Zg'], ['fo', 'Zm8'], ['foo', 'Zm9v'], ['foob', 'Zm9vYg'],
                     ['fooba', 'Zm9vYmE'], ['foobar', 'Zm9vYmFy']];
    for (const [plain, encoded] of vectors) {
        assert.equal(EncodeBase64Url(new TextEncoder().encode(plain)), encoded, plain);
        assert.equal(Text(DecodeBase64Url(encoded)), plain, encoded);
    }
});

test('base64url: the URL-safe letters for 62 and 63', () => {
    const bytes = Uint8Array.of(0xfb, 0xff, 0xbf);
    assert.equal(EncodeBase64Url(bytes), Buffer.from(bytes).toString('base64url'));
    assert.equal(EncodeBase64Url(bytes), '-_-_');
    assert.deepEqual(DecodeBase64Url('-_-_'), bytes);
});

test('base64url: every byte value round trips as Node writes it', () => {
    const bytes = Uint8Array.from({ length: 256 * 3 + 2 }, (_, i) => (i * 7 + (i >> 8)) & 255);
    const encoded = EncodeBase64Url(bytes);
    assert.equal(encoded, Buffer.from(bytes).toString('base64url'));
    assert.deepEqual(DecodeBase64Url(encoded), bytes);
});

test('base64url: text that is not canonical base64url is refused', () => {
    const refused = {
        'a length that leaves one character': 'Zm9vY',
        'padding': 'Zg==',
        'the standard alphabet\'s plus': 'Zm9v+A',
        'the standard alphabet\'s slash': 'Zm9v/A',
        'a space': 'Zm9v Zg',
        'a letter beyond ASCII': 'Zm9vé',
        'unused bits set in the last letter': 'Zh',
    };
    for (const [name, text] of Object.entries(refused))
        assert.equal(DecodeBase64Url(text), null, name);
});

test('a lesson round trips through its link, Czech letters included', async () => {
    for (const text of [Lesson, Lesson.replace('2*cos(t)', 'kružnice – šikmý vrh'), '{}']) {
        const encoded = await EncodeLessonLink(text);
        assert.match(encoded, /^[A-Za-z0-9_-]+$/);
        assert.equal(Text(await DecodeLessonLink(encoded)), text);
    }
});

test('the link is raw DEFLATE as zlib reads and writes it', async () => {
    const encoded = await EncodeLessonLink(Lesson);
    assert.equal(zlib.inflateRawSync(Buffer.from(encoded, 'base64url')).toString('utf8'), Lesson);
    const byZlib = zlib.deflateRawSync(Buffer.from(Lesson, 'utf8'), { level: 9 }).toString('base64url');
    assert.equal(Text(await DecodeLessonLink(byZlib)), Lesson);
    // The link is shorter than the text it carries.
    assert.ok(encoded.length < Lesson.length * 0.6, `${encoded.length} of ${Lesson.length}`);
});

// (Data after the last block is refused by the standard's DecompressionStream,
// and so by the browser; Node 20's takes it: the page's tests check it.)
test('damaged links are refused with their reasons', async () => {
    const whole = zlib.deflateRawSync(Buffer.from(Lesson, 'utf8'));
    const cases = [
        ['nothing after the key', '', LinkProblems.Empty],
        ['letters that do not belong', 'abc$def', LinkProblems.NotBase64],
        ['deflate cut short', whole.subarray(0, whole.length >> 1).toString('base64url'), LinkProblems.NotDeflate],
        ['no deflate at all (a reserved block type)', Buffer.alloc(40, 0xff).toString('base64url'),
         LinkProblems.NotDeflate],
        ['a stored block with a wrong length check', Buffer.from([1, 5, 0, 5, 0, 65, 66, 67, 68, 69]).toString('base64url'),
         LinkProblems.NotDeflate],
    ];
    for (const [name, encoded, problem] of cases)
        assert.equal((await Refusal(DecodeLessonLink(encoded))).problem, problem, name);
});

test('a link cut anywhere is refused, never taken as a shorter lesson', async () => {
    const encoded = await EncodeLessonLink(Lesson);
    for (let cut = 1; cut < encoded.length; cut += 7) {
        const refusal = await Refusal(DecodeLessonLink(encoded.slice(0, cut)));
        assert.ok([LinkProblems.NotBase64, LinkProblems.NotDeflate].includes(refusal.problem), `cut at ${cut}`);
    }
});

test('a lesson of exactly 1 MiB is taken, one byte more is refused', async () => {
    const filler = n => `{"paramcurve-lesson": 1, "x": "${'t'.repeat(n)}"}`;
    const fits = filler(MaxLessonBytes - filler(0).length);
    assert.equal(fits.length, MaxLessonBytes);
    assert.equal((await DecodeLessonLink(await EncodeLessonLink(fits))).length, MaxLessonBytes);
    const over = `${fits} `;
    assert.equal((await Refusal(DecodeLessonLink(await EncodeLessonLink(over)))).problem, LinkProblems.TooLarge);
});

test('a bomb stops being inflated as soon as it passes 1 MiB', async () => {
    const bomb = zlib.deflateRawSync(Buffer.alloc(256 * MaxLessonBytes), { level: 9 });
    assert.ok(bomb.length < 300 * 1024);
    const started = performance.now();
    const refusal = await Refusal(InflateCapped(new Uint8Array(bomb)));
    const took = performance.now() - started;
    assert.equal(refusal.problem, LinkProblems.TooLarge);
    // One piece of input unfolds to at most about a thousand times its size.
    assert.ok(refusal.produced > MaxLessonBytes && refusal.produced < MaxLessonBytes + 2 * 1024 * 1024,
              `inflated ${refusal.produced} bytes`);
    assert.ok(took < 2000, `${took} ms`);
    assert.equal((await Refusal(DecodeLessonLink(bomb.toString('base64url')))).problem, LinkProblems.TooLarge);
});

test('a link longer than any lesson could make is refused unread', async () => {
    const refusal = await Refusal(DecodeLessonLink('A'.repeat(2 * MaxLessonBytes)));
    assert.equal(refusal.problem, LinkProblems.TooLarge);
    assert.equal(refusal.produced, 0);
});

test('the fragment and the address', () => {
    const fragments = [['#lekce=abc', 'abc'], ['lekce=abc', 'abc'], ['#x=1&lekce=a-b_c&y=2', 'a-b_c'],
                       ['#lekce=', ''], ['#', null], ['', null], ['#lekcex=abc', null]];
    for (const [hash, encoded] of fragments)
        assert.equal(LessonOfFragment(hash), encoded, hash);
    assert.equal(LessonAddress('http://127.0.0.1:8080/index.html?a=1#lekce=old', 'new'),
                 'http://127.0.0.1:8080/index.html?a=1#lekce=new');
    assert.equal(LessonAddress('https://example.org/', 'abc'), 'https://example.org/#lekce=abc');
});

test('the box says a link will not do as it says it of a file', () => {
    assert.equal(LinkRefusalText(LinkProblems.TooLarge), 'Lekci z odkazu nelze otevřít: lekce v odkazu je větší než 1 MiB.');
});
