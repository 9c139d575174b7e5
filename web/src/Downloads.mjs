// SPDX-License-Identifier: GPL-3.0-or-later
// A file for the user: a download of bytes or text under a name.

export function Download(name, data, type)
{
    const blob = data instanceof Blob ? data : new Blob([data], { type });
    const url = URL.createObjectURL(blob);
    const link = document.createElement('a');
    link.href = url;
    link.download = name;
    link.hidden = true;
    document.body.append(link);
    link.click();
    link.remove();
    // The download has its own reference by then.
    setTimeout(() => URL.revokeObjectURL(url), 60000);
}

// The RGBA pixels of a picture `width` wide, each made a `scale` x `scale`
// block: a PNG enlarged for a worksheet stays as crisp as the plane, which a
// scaled drawImage need not keep (smoothing is the browser's choice).
export function EnlargedPixels(data, width, height, scale)
{
    const wide = width * scale;
    const enlarged = new Uint8ClampedArray(wide * height * scale * 4);
    const row = new Uint32Array(wide);
    const source = new Uint32Array(data.buffer, data.byteOffset, width * height);
    const target = new Uint32Array(enlarged.buffer);
    for (let y = 0; y < height; ++y) {
        for (let x = 0; x < width; ++x)
            row.fill(source[y * width + x], x * scale, (x + 1) * scale);
        for (let i = 0; i < scale; ++i)
            target.set(row, (y * scale + i) * wide);
    }
    return enlarged;
}

// A canvas holding `canvas`'s pixels enlarged `scale` times (EnlargedPixels).
export function EnlargedCanvas(canvas, scale)
{
    const { width, height } = canvas;
    const pixels = canvas.getContext('2d').getImageData(0, 0, width, height).data;
    const enlarged = document.createElement('canvas');
    enlarged.width = width * scale;
    enlarged.height = height * scale;
    const image = new ImageData(EnlargedPixels(pixels, width, height, scale), width * scale, height * scale);
    enlarged.getContext('2d').putImageData(image, 0, 0);
    return enlarged;
}
