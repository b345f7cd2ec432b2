#include "kernel/kelkcopr.hpp"

#include "kernel/kelktrc.hpp"

#include <sstream>

#ifndef KELDATOM_VERSION_TEXT
#define KELDATOM_VERSION_TEXT "0.1.0"
#endif

__attribute__((used)) char const kelIdentification[] =
    "@(#)keldatom " KELDATOM_VERSION_TEXT
    " Tiny Object Manager for Admin Server"
    ", Target keldatom, Driver Level 1, Service Pack 0, Built " __DATE__ " " __TIME__;

KelTraceInfo::KelTraceInfo(char const* identification)
{
    if (!KelTrace::IsOn(0, 0x40, 0x1)) return;
    // Runs while the library loads, where an exception would end the program.
    try {
        std::ostringstream text;
        text << identification << '\0';
        KelTrace::Trace(__FILE__, __LINE__, "KelTraceInfo::KelTraceInfo", 0, 0x40, 0x1, text);
    } catch (...) {
        // No memory for the record: it is lost.
    }
}

namespace {
KelTraceInfo const kelLoadTrace(kelIdentification);
}
