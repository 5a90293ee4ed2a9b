// SPDX-License-Identifier: GPL-2.0-or-later
// A library of the input method's name that lacks the notify entry point: loading it works,
// notifying must then do nothing.
#ifdef _WIN32
// The .def file decides what is exported, and by which ordinal.
#define KPX_FAKE_EXPORT
#else
#define KPX_FAKE_EXPORT __attribute__((visibility("default")))
#endif

extern "C" KPX_FAKE_EXPORT int hvmrk_version()
{
    return 0;
}
