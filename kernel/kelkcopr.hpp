// The library's identification string and the load-time trace that hands it to the
// kernel trace (level 0, category 0x40, component 0x1; also under _Xt).
#pragma once

// "@(#)" product and version, component title, target, driver level, service pack,
// build date and time.
extern char const kelIdentification[];

class KelTraceInfo {
public:
    explicit KelTraceInfo(char const* identification);
};
