#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Compares two paramcurve-eval outputs for the same input lines: how many
# agree byte for byte, overall and for the formulas the software arithmetic
# must give exactly (numbers, t, pi, + - * /, sqr, sqrt, abs, fa and powers to
# whole numbers), and what the differences are: by function, by distance in
# units of the last place of the double, by kind (value, message, fault).
#   scripts/compare-eval.py LINES OUT_A OUT_B NAME_A NAME_B
import re
import struct
import sys
from collections import Counter

FUNCTION = re.compile(r"(arcsin|arccos|arctan|sqrt|sqr|abs|fa|sin|cos|tan|exp|ln)\(")
POWER = re.compile(r"\^(\d+(?![\d.,])|\(-\d+\)(?![\d.,]))?")
EXACT_FUNCTIONS = {"sqr", "sqrt", "abs", "fa"}


def features(formula):
    text = formula.lower()
    found = set(FUNCTION.findall(text))
    for m in POWER.finditer(text):
        found.add("^whole" if m.group(1) else "^other")
    return found


def ordered(value):
    bits = struct.unpack("<q", struct.pack("<d", value))[0]
    return bits if bits >= 0 else -(bits & 0x7FFFFFFFFFFFFFFF)


def ulps(a, b):
    try:
        return abs(ordered(float.fromhex(a)) - ordered(float.fromhex(b)))
    except ValueError:
        return None


def bucket(distance):
    if distance is None:
        return "unreadable"
    if distance <= 2:
        return str(distance)
    if distance <= 16:
        return "3..16"
    if distance <= 2**20:
        return "17..2^20"
    return "more"


def main():
    lines_path, a_path, b_path, name_a, name_b = sys.argv[1:6]
    total = agree = 0
    exact_total = exact_agree = 0
    with_feature = Counter()
    diff_feature = Counter()
    diff_primary = Counter()
    diff_kind = Counter()
    diff_ulps = Counter()
    samples = []
    with open(lines_path, "rb") as lf, open(a_path, "rb") as af, open(b_path, "rb") as bf:
        for line, a, b in zip(lf, af, bf):
            total += 1
            formula = line.rstrip(b"\n").split(b"\t", 1)[-1].decode("utf-8", "replace")
            found = features(formula)
            exact = found <= EXACT_FUNCTIONS | {"^whole"}
            exact_total += exact
            for f in found:
                with_feature[f] += 1
            if a == b:
                agree += 1
                exact_agree += exact
                continue
            va, ma, fa_ = a.rstrip(b"\n").decode("utf-8", "replace").split("\t")
            vb, mb, fb = b.rstrip(b"\n").decode("utf-8", "replace").split("\t")
            if fa_ != fb:
                kind = "fault"
            elif ma != mb:
                kind = "message"
            else:
                kind = "value"
                diff_ulps[bucket(ulps(va, vb))] += 1
            diff_kind[kind] += 1
            for f in found:
                diff_feature[f] += 1
            inexact = sorted(found - EXACT_FUNCTIONS - {"^whole"})
            diff_primary["exact class" if not inexact else inexact[0] if len(inexact) == 1 else "several"] += 1
            if len(samples) < 12:
                samples.append((line.decode("utf-8", "replace").rstrip("\n"), a.decode().rstrip("\n"),
                                b.decode().rstrip("\n")))
    print(f"{name_a} against {name_b}: {total} lines")
    print(f"  agree bit for bit: {agree} ({100.0 * agree / max(total, 1):.4f} %)")
    print(f"  exact class (numbers, t, pi, + - * /, sqr, sqrt, abs, fa, ^whole): "
          f"{exact_agree} of {exact_total} agree ({100.0 * exact_agree / max(exact_total, 1):.4f} %)")
    print(f"  differing: {total - agree}")
    if total != agree:
        print("  by kind: " + ", ".join(f"{k} {v}" for k, v in diff_kind.most_common()))
        print("  value differences by ulps of the double: " +
              ", ".join(f"{k}: {v}" for k, v in sorted(diff_ulps.items())))
        print("  by the one inexact function of the line: " +
              ", ".join(f"{k} {v}" for k, v in diff_primary.most_common()))
    print("  lines with each function, and how many of them differ:")
    for f, n in sorted(with_feature.items(), key=lambda kv: -kv[1]):
        print(f"    {f:8} {n:9} lines  {diff_feature[f]:6} differ ({100.0 * diff_feature[f] / n:.4f} %)")
    for line, a, b in samples:
        print(f"  {line!r}\n    {name_a}: {a!r}\n    {name_b}: {b!r}")
    return 0 if exact_agree == exact_total and agree >= 0.999 * total else 1


sys.exit(main())
