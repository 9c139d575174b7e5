// SPDX-License-Identifier: GPL-3.0-or-later
// paramcurve-formulas N SEED: N random lines T<TAB>FORMULA (RandomFormulas.h)
// for paramcurve-eval; the same lines for the same seed.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "RandomFormulas.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: paramcurve-formulas N SEED\n");
        return 2;
    }
    const unsigned long long count = std::strtoull(argv[1], nullptr, 10);
    RandomFormulas formulas(std::strtoull(argv[2], nullptr, 10));
    for (unsigned long long i = 0; i < count; ++i) {
        const std::string line = formulas.NextLine() + "\n";
        std::fwrite(line.data(), 1, line.size(), stdout);
    }
    return 0;
}
