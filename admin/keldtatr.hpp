// Level-9 dumps of rows and objects that the administration server's managers write when
// they convert one into the other: a row as a line end, its header ("KEL_SYSTEM_LOG {"),
// its members and " }" at category 1024, component 8; an object in its printed form at
// category 1024, component 16. The caller passes its own file and function, so a dump
// names the manager that wrote it. A dump never throws: one that cannot be made is lost.
#pragma once

#include "kernel/kelknam.hpp"
#include "kernel/kelktrc.hpp"

#include <ostream>
#include <sstream>

template <class Row>
void KelTraceRow(char const* file, int line, char const* function, char const* header, Row const& row)
{
    if (!KelTrace::IsOn(KelTraceLevel::Detail, KelTraceCategory::Dump, KelTraceComponent::Rows)) return;
    try {
        std::ostringstream text;
        text << std::endl << header;
        row.PrintMembers(text);
        text << " }" << '\0';
        KelTrace::Trace(file, line, function, 9, 1024, 8, text);
    } catch (...) {
        // No memory for the dump: it is lost, the conversion goes on.
    }
}

template <class Object>
void KelTraceObject(char const* file, int line, char const* function, Object const& object)
{
    if (!KelTrace::IsOn(KelTraceLevel::Detail, KelTraceCategory::Dump, KelTraceComponent::Cache)) return;
    try {
        std::ostringstream text;
        text << object << '\0';
        KelTrace::Trace(file, line, function, 9, 1024, 16, text);
    } catch (...) {
        // No memory for the dump: it is lost, the conversion goes on.
    }
}
