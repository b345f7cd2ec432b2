#include "kernel/kelktrc.hpp"

#include <cstdio>
#include <iostream>

bool KelTrace::_On = false;
bool KelTrace::_Xt = false;
long KelTrace::_Level = 0;
unsigned long KelTrace::_Components = 0;
unsigned long KelTrace::_Categories = 0;

namespace {
KelTrace::Sink& CurrentSink()
{
    static KelTrace::Sink sink;
    return sink;
}
}  // namespace

std::string KelTrace::Format(KelTraceRecord const& r)
{
    std::string file = r.file;
    auto slash = file.find_last_of('/');
    if (slash != std::string::npos) file = file.substr(slash + 1);
    char head[96];
    std::snprintf(head, sizeof head, "[%ld %#lx %#lx] ", r.level, r.category, r.component);
    return head + file + ":" + std::to_string(r.line) + " " + r.function + ": " + r.text;
}

void KelTrace::Write(KelTraceRecord const& record) noexcept
{
    try {
        KelTrace::Sink& sink = CurrentSink();
        if (sink) {
            sink(record);
            return;
        }
        std::string line = Format(record);
        std::fprintf(stderr, "%s\n", line.c_str());
    } catch (...) {
        // The sink failed (or memory for the line): the record is lost, the operation goes on.
    }
}

void KelTrace::Trace(char const* file, int line, char const* function, long level, unsigned long category,
                     unsigned long component, std::ostringstream& text) noexcept
{
    if (!IsOn(level, category, component)) return;
    try {
        std::string body = text.str();
        // Callers end their text with a NUL as the kernel expects; the record holds the text.
        while (!body.empty() && body.back() == '\0') body.pop_back();
        Write(KelTraceRecord{file ? file : "<null>", line, function ? function : "<null>", level, category, component,
                             std::move(body)});
    } catch (...) {
        // No memory for the record: it is lost, the operation goes on.
    }
}

KelTrace::Sink KelTrace::SetSink(Sink sink)
{
    Sink previous = std::move(CurrentSink());
    CurrentSink() = std::move(sink);
    return previous;
}

KelTraceCapture::KelTraceCapture(long level, unsigned long components, unsigned long categories, bool on, bool xt)
    : _on(KelTrace::_On),
      _xt(KelTrace::_Xt),
      _level(KelTrace::_Level),
      _components(KelTrace::_Components),
      _categories(KelTrace::_Categories)
{
    _previousSink = KelTrace::SetSink([this](KelTraceRecord const& r) { _records.push_back(r); });
    KelTrace::_On = on;
    KelTrace::_Xt = xt;
    KelTrace::_Level = level;
    KelTrace::_Components = components;
    KelTrace::_Categories = categories;
}

KelTraceCapture::~KelTraceCapture()
{
    KelTrace::SetSink(std::move(_previousSink));
    KelTrace::_On = _on;
    KelTrace::_Xt = _xt;
    KelTrace::_Level = _level;
    KelTrace::_Components = _components;
    KelTrace::_Categories = _categories;
}

std::string KelTraceCapture::Text() const
{
    std::string out;
    for (auto const& r : _records) out += r.text + "\n";
    return out;
}

void KelCtrFlow::Set(char const* file, int line, char const* function, long level, unsigned long component,
                     std::ostringstream& text)
{
    _function = function ? function : "<null>";
    _file = file;
    _line = line;
    _level = level;
    _component = component;
    _set = true;
    KelTrace::Trace(file, line, function, level, 0x1, component, text);
}

void KelCtrFlow::EnterTraced(char const* file, int line, char const* function, unsigned long component) noexcept
{
    try {
        std::ostringstream text;
        text << ""
             << " >entry";
        Set(file, line, function, 3, component, text);
    } catch (...) {
        // No memory for the entry record: the operation runs untraced (and writes no exit).
    }
}

void KelCtrFlow::Exit() noexcept
{
    // A destructor that threw would end the program, also while an exception unwinds.
    try {
        std::ostringstream text;
        text << " <exit";
        KelTrace::Trace(_file, _line, _function.c_str(), _level, 0x1, _component, text);
    } catch (...) {
        // No memory for the exit record: it is lost.
    }
}
