// SPDX-License-Identifier: GPL-3.0-or-later
// Only here so that the precompiled toolkit headers shared by the tests are
// built with exactly the tests' own compiler options.
int main()
{
    return 0;
}
