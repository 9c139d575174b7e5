// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's renderer (paramcurve-render) beside the page: its PNG of a
// curve or a lesson is what the page's plane must equal, pixel for pixel.
// ./check.sh builds it into build/app/; PARAMCURVE_RENDER names another.
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

import { DecodePng } from './Png.mjs';

const Top = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../..');

export const RenderPath = process.env.PARAMCURVE_RENDER ?? path.join(Top, 'build/app/paramcurve-render');
export const LessonCorpus = path.join(Top, 'tests/fuzz/lesson-corpus');

// Why the comparisons with the renderer are skipped, or false.
export function RenderSkip()
{
    return fs.existsSync(RenderPath) ? false
        : `the desktop's renderer is not built (${RenderPath}: ./check.sh builds it, or set PARAMCURVE_RENDER)`;
}

// Runs the renderer; {status, stderr}.
export function Render(args)
{
    const run = spawnSync(RenderPath, args, { encoding: 'utf8', env: { ...process.env, QT_QPA_PLATFORM: 'offscreen' } });
    if (run.error)
        throw run.error;
    return { status: run.status, stderr: run.stderr };
}

// The renderer's picture of `args` as RGB, written to `png` in `folder`.
export function RenderedPixels(args, png)
{
    const run = Render([...args, '-o', png]);
    if (run.status !== 0 && run.status !== 1)
        throw new Error(`paramcurve-render ${args.join(' ')}: status ${run.status}: ${run.stderr}`);
    return DecodePng(fs.readFileSync(png)).rgb;
}

// The page's plane as RGB.
export async function PagePixels(page)
{
    const data = await page.$eval('#plane', canvas =>
        Array.from(canvas.getContext('2d').getImageData(0, 0, 500, 500).data));
    const rgb = Buffer.alloc(500 * 500 * 3);
    for (let p = 0; p < 500 * 500; ++p) {
        rgb[p * 3] = data[p * 4];
        rgb[p * 3 + 1] = data[p * 4 + 1];
        rgb[p * 3 + 2] = data[p * 4 + 2];
    }
    return rgb;
}

// '' when the two are the same, else how many pixels differ and the first.
export function PlaneDifference(page, rendered)
{
    let count = 0;
    let first = '';
    for (let p = 0; p < 500 * 500; ++p) {
        const a = page.subarray(p * 3, p * 3 + 3);
        const b = rendered.subarray(p * 3, p * 3 + 3);
        if (a[0] !== b[0] || a[1] !== b[1] || a[2] !== b[2]) {
            if (count++ === 0)
                first = `(${p % 500}, ${Math.floor(p / 500)}): page ${[...a]}, renderer ${[...b]}`;
        }
    }
    return count === 0 ? '' : `${count} pixels differ, first ${first}`;
}
