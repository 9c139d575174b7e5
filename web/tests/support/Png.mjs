// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the pixels of a PNG file in Node, exactly, with no colour management:
// 8 bits a channel, grey, RGB, palette or RGBA, not interlaced (what the
// desktop's renderer writes). The page's plane is compared with them.
import zlib from 'node:zlib';

const Channels = { 0: 1, 2: 3, 3: 1, 4: 2, 6: 4 };

function Paeth(a, b, c)
{
    const p = a + b - c;
    const pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// {width, height, rgb}: three bytes a pixel, row by row from the top left.
export function DecodePng(bytes)
{
    const data = Buffer.from(bytes);
    if (data.subarray(1, 4).toString() !== 'PNG')
        throw new Error('no PNG file');
    let at = 8;
    let header = null;
    let palette = null;
    const parts = [];
    while (at < data.length) {
        const length = data.readUInt32BE(at);
        const type = data.subarray(at + 4, at + 8).toString('latin1');
        const body = data.subarray(at + 8, at + 8 + length);
        if (type === 'IHDR')
            header = { width: body.readUInt32BE(0), height: body.readUInt32BE(4), depth: body[8], colour: body[9],
                       interlace: body[12] };
        else if (type === 'PLTE')
            palette = body;
        else if (type === 'IDAT')
            parts.push(body);
        at += 12 + length;
    }
    if (!header || header.depth !== 8 || header.interlace !== 0 || !(header.colour in Channels))
        throw new Error('a PNG of a form not read here');
    const channels = Channels[header.colour];
    const stride = header.width * channels;
    const raw = zlib.inflateSync(Buffer.concat(parts));
    const rows = Buffer.alloc(stride * header.height);
    for (let y = 0; y < header.height; ++y) {
        const filter = raw[y * (stride + 1)];
        const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
        const out = y * stride;
        for (let i = 0; i < stride; ++i) {
            const left = i >= channels ? rows[out + i - channels] : 0;
            const up = y > 0 ? rows[out - stride + i] : 0;
            const corner = y > 0 && i >= channels ? rows[out - stride + i - channels] : 0;
            const predicted = [0, left, up, (left + up) >> 1, Paeth(left, up, corner)][filter];
            rows[out + i] = (line[i] + predicted) & 0xff;
        }
    }
    const rgb = Buffer.alloc(header.width * header.height * 3);
    for (let p = 0; p < header.width * header.height; ++p) {
        const s = p * channels;
        const colour = header.colour === 3 ? palette.subarray(rows[s] * 3, rows[s] * 3 + 3)
            : channels <= 2 ? [rows[s], rows[s], rows[s]] : rows.subarray(s, s + 3);
        rgb[p * 3] = colour[0];
        rgb[p * 3 + 1] = colour[1];
        rgb[p * 3 + 2] = colour[2];
    }
    return { width: header.width, height: header.height, rgb };
}
