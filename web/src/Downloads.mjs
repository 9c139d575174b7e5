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
