// The kernel trace: switches, the write rule, a replaceable sink and the control-flow
// guard that writes " >entry" when an operation starts and an exit line when it ends.
//
// A record at level L, category mask K and component mask C is written only when
// _On is set, _Level >= L (signed: a negative level silences even level 0),
// (_Components & C) != 0 and (_Categories & K) != 0; level-0 records are also written,
// whatever the other switches, when _Xt is set. Tracing is off by default.
//
// Masks in use (level / category / component):
//   control-flow entry and progress of the caches      3 / 0x1   / 0x10
//   raise of an invalid case (also under _Xt)            0 / 0x2   / 0x10
//   raise of a not-unique exception                      3 / 0x2   / 0x10
//   raise of not-found and lock exceptions               3 / 0x2   / 0x8   (2 in OID)
//   counts ("#flushed objects=", "#refreshed objects=")  9 / 0x20  / 0x10
//   row and object dumps of the managers                 9 / 0x400 / 0x8 rows, 0x10 objects
//   identification string at load (also under _Xt)       0 / 0x40  / 0x1
//   raise of a database error (KelDBException)           1 / 0x2   / 0x4
#pragma once

#include <functional>
#include <sstream>
#include <string>
#include <vector>

struct KelTraceRecord {
    std::string file;
    int line;
    std::string function;
    long level;
    unsigned long category;
    unsigned long component;
    std::string text;
};

class KelTrace {
public:
    static bool _On;
    static bool _Xt;
    static long _Level;
    static unsigned long _Components;
    static unsigned long _Categories;

    static bool IsOn(long level, unsigned long category, unsigned long component)
    {
        return (_On && _Level >= level && (_Components & component) != 0 && (_Categories & category) != 0) ||
               (level == 0 && _Xt);
    }
    // Writes the stream's text as one record when the switches allow it. A trace never
    // fails the traced operation: a record that cannot be made or written is dropped.
    static void Trace(char const* file, int line, char const* function, long level, unsigned long category,
                      unsigned long component, std::ostringstream& text) noexcept;
    static void Trace(char const* file, int line, std::string const& function, long level, unsigned long category,
                      unsigned long component, std::ostringstream& text) noexcept
    {
        Trace(file, line, function.c_str(), level, category, component, text);
    }

    using Sink = std::function<void(KelTraceRecord const&)>;
    // Replaces the sink (default: one line per record on stderr); returns the previous one.
    static Sink SetSink(Sink sink);
    // Hands the record to the sink; what the sink throws is dropped with the record.
    static void Write(KelTraceRecord const& record) noexcept;
    // The default sink's line for a record.
    static std::string Format(KelTraceRecord const& record);
};

// Sets the switches for its lifetime and collects the records written meanwhile; for tests
// and tools that want to look at the trace.
class KelTraceCapture {
public:
    KelTraceCapture(long level = 9, unsigned long components = ~0ul, unsigned long categories = ~0ul, bool on = true,
                    bool xt = false);
    ~KelTraceCapture();
    KelTraceCapture(KelTraceCapture const&) = delete;
    KelTraceCapture& operator=(KelTraceCapture const&) = delete;
    std::vector<KelTraceRecord> const& Records() const { return _records; }
    // Every record's text, each followed by a newline.
    std::string Text() const;
    void Clear() { _records.clear(); }

private:
    std::vector<KelTraceRecord> _records;
    KelTrace::Sink _previousSink;
    bool _on, _xt;
    long _level;
    unsigned long _components, _categories;
};

// Control-flow guard: Set writes the entry record; the destructor writes the exit record
// of a guard that was set, whether the operation returns or throws. Neither entry nor exit
// throws; with tracing off, entering allocates nothing.
class KelCtrFlow {
public:
    KelCtrFlow() : _set(false), _line(0), _level(0), _component(0), _file(nullptr) {}
    ~KelCtrFlow()
    {
        if (_set) Exit();
    }
    KelCtrFlow(KelCtrFlow const&) = delete;
    KelCtrFlow& operator=(KelCtrFlow const&) = delete;
    void Set(char const* file, int line, char const* function, long level, unsigned long component,
             std::ostringstream& text);
    // Writes " >entry" at level 3, category 0x1, component when that switch is on. The switch
    // is tested inline: most operations of a transaction open a guard, and tracing is off.
    void Enter(char const* file, int line, char const* function, unsigned long component = 0x10) noexcept
    {
        if (KelTrace::IsOn(3, 0x1, component)) EnterTraced(file, line, function, component);
    }
    void Enter(char const* file, int line, std::string const& function, unsigned long component = 0x10) noexcept
    {
        Enter(file, line, function.c_str(), component);
    }

private:
    void EnterTraced(char const* file, int line, char const* function, unsigned long component) noexcept;
    void Exit() noexcept;

    bool _set;
    int _line;
    long _level;
    unsigned long _component;
    char const* _file;
    std::string _function;
};

// Opens the control-flow guard of the enclosing operation.
#define kelkCtrFlow(function)   \
    KelCtrFlow kelCtrFlowGuard; \
    kelCtrFlowGuard.Enter(__FILE__, __LINE__, (function))
#define kelkCtrFlowComponent(function, component) \
    KelCtrFlow kelCtrFlowGuard;                   \
    kelCtrFlowGuard.Enter(__FILE__, __LINE__, (function), (component))
