// SPDX-License-Identifier: GPL-3.0-or-later
// A lesson in a link: the lesson file's text, compressed with raw DEFLATE and
// written in base64url without padding after "#lekce=". Reading one is as
// careful as reading a file from elsewhere: the text stops at the lesson's
// cap of 1 MiB while it is being inflated, so a small link cannot make the
// page inflate a bomb, and anything that is not such a link is refused with
// a reason in Czech, as the lesson file's reasons are worded.

export const LinkKey = 'lekce';
export const MaxLessonBytes = 1024 * 1024;

// Raw DEFLATE adds at most 5 bytes to each stored block of 64 KiB, so the
// compressed form of a lesson that fits is never much larger than the cap.
const MaxCompressedBytes = MaxLessonBytes + 1024;
// Fed to the inflater a little at a time: however well the data packs, one
// piece cannot unfold much beyond the cap before the output is counted.
const InflatePiece = 1024;

export const LinkProblems = Object.freeze({
    Empty: 'odkaz neobsahuje žádnou lekci',
    NotBase64: 'odkaz je poškozený (obsahuje znaky, které do zakódované lekce nepatří)',
    NotDeflate: 'odkaz je poškozený nebo zkrácený (lekci z něj nelze rozbalit)',
    TooLarge: 'lekce v odkazu je větší než 1 MiB',
});

// A refusal of a link, with its reason (one of LinkProblems or the lesson
// reader's). `produced` counts the bytes inflated before it stopped.
export class LinkRefusal extends Error {
    constructor(problem, produced = 0)
    {
        super(problem);
        this.name = 'LinkRefusal';
        this.problem = problem;
        this.produced = produced;
    }
}

// The box's text for a link that will not do, as "Lekci ze souboru …
// nelze otevřít: …." says it for a file.
export function LinkRefusalText(problem)
{
    return `Lekci z odkazu nelze otevřít: ${problem}.`;
}

const Alphabet = 'ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_';
const Values = new Int8Array(128).fill(-1);
for (let i = 0; i < Alphabet.length; ++i)
    Values[Alphabet.charCodeAt(i)] = i;

export function EncodeBase64Url(bytes)
{
    let out = '';
    let i = 0;
    for (; i + 3 <= bytes.length; i += 3) {
        const n = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
        out += Alphabet[n >> 18] + Alphabet[(n >> 12) & 63] + Alphabet[(n >> 6) & 63] + Alphabet[n & 63];
    }
    const rest = bytes.length - i;
    if (rest === 1) {
        const n = bytes[i] << 16;
        out += Alphabet[n >> 18] + Alphabet[(n >> 12) & 63];
    } else if (rest === 2) {
        const n = (bytes[i] << 16) | (bytes[i + 1] << 8);
        out += Alphabet[n >> 18] + Alphabet[(n >> 12) & 63] + Alphabet[(n >> 6) & 63];
    }
    return out;
}

// The bytes, or null for text that is not base64url without padding in its
// one canonical form (the unused bits of the last character zero).
export function DecodeBase64Url(text)
{
    if (text.length % 4 === 1)
        return null;
    const bytes = new Uint8Array(Math.floor(text.length * 3 / 4));
    let n = 0;
    let bits = 0;
    let at = 0;
    for (let i = 0; i < text.length; ++i) {
        const code = text.charCodeAt(i);
        const value = code < 128 ? Values[code] : -1;
        if (value < 0)
            return null;
        n = (n << 6) | value;
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            bytes[at++] = (n >> bits) & 255;
            n &= (1 << bits) - 1;
        }
    }
    return n === 0 ? bytes : null;
}

async function Collect(readable)
{
    const reader = readable.getReader();
    const parts = [];
    let length = 0;
    for (;;) {
        const { done, value } = await reader.read();
        if (done)
            break;
        parts.push(value);
        length += value.length;
    }
    const all = new Uint8Array(length);
    let at = 0;
    for (const part of parts) {
        all.set(part, at);
        at += part.length;
    }
    return all;
}

export async function Deflate(bytes)
{
    const stream = new Blob([bytes]).stream().pipeThrough(new CompressionStream('deflate-raw'));
    return Collect(stream);
}

// Raw DEFLATE inflated, stopping as soon as the output passes `cap` bytes.
export async function InflateCapped(bytes, cap = MaxLessonBytes)
{
    const stream = new DecompressionStream('deflate-raw');
    const writer = stream.writable.getWriter();
    const reader = stream.readable.getReader();
    let stopped = false;
    const feeding = (async () => {
        for (let at = 0; at < bytes.length && !stopped; at += InflatePiece)
            await writer.write(bytes.subarray(at, at + InflatePiece));
        if (!stopped)
            await writer.close();
    })();
    // Its failures are the reader's too, and are reported from there.
    feeding.catch(() => {});

    const parts = [];
    let produced = 0;
    try {
        for (;;) {
            const { done, value } = await reader.read();
            if (done)
                break;
            produced += value.length;
            if (produced > cap) {
                stopped = true;
                await reader.cancel().catch(() => {});
                throw new LinkRefusal(LinkProblems.TooLarge, produced);
            }
            parts.push(value);
        }
        await feeding;
    } catch (error) {
        stopped = true;
        if (error instanceof LinkRefusal)
            throw error;
        throw new LinkRefusal(LinkProblems.NotDeflate, produced);
    }
    const all = new Uint8Array(produced);
    let at = 0;
    for (const part of parts) {
        all.set(part, at);
        at += part.length;
    }
    return all;
}

// The link's part after "#lekce=" for a lesson file's text.
export async function EncodeLessonLink(lessonText)
{
    return EncodeBase64Url(await Deflate(new TextEncoder().encode(lessonText)));
}

// The lesson file's bytes from the part after "#lekce="; a LinkRefusal when
// they cannot be had. They are not checked as a lesson here: the core's
// reader does that (UTF-8, JSON, the keys), with its own reasons.
export async function DecodeLessonLink(encoded)
{
    if (encoded.length === 0)
        throw new LinkRefusal(LinkProblems.Empty);
    if (encoded.length > Math.ceil(MaxCompressedBytes * 4 / 3))
        throw new LinkRefusal(LinkProblems.TooLarge);
    const compressed = DecodeBase64Url(encoded);
    if (compressed === null)
        throw new LinkRefusal(LinkProblems.NotBase64);
    if (compressed.length === 0)
        throw new LinkRefusal(LinkProblems.Empty);
    return InflateCapped(compressed);
}

// The encoded lesson of a location's fragment ("#lekce=…"), or null when
// the fragment holds no lesson. Other keys may stand beside it ("&").
export function LessonOfFragment(hash)
{
    const fragment = hash.startsWith('#') ? hash.slice(1) : hash;
    for (const part of fragment.split('&')) {
        if (part.startsWith(`${LinkKey}=`))
            return part.slice(LinkKey.length + 1);
    }
    return null;
}

// The address to share: the page's own without any fragment, then the lesson.
export function LessonAddress(location, encoded)
{
    const base = String(location).split('#')[0];
    return `${base}#${LinkKey}=${encoded}`;
}
