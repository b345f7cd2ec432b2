#include "kernel/kelknam.hpp"

#include <utility>

namespace {
template <class V, std::size_t N>
std::optional<V> Find(std::pair<char const*, V> const (&names)[N], std::string const& name)
{
    for (auto const& n : names)
        if (name == n.first) return n.second;
    return std::nullopt;
}
}  // namespace

std::optional<long> KelTraceNames::Level(std::string const& name)
{
    static std::pair<char const*, long> const names[] = {{"always", KelTraceLevel::Always},
                                                         {"database", KelTraceLevel::Database},
                                                         {"lookup", KelTraceLevel::Lookup},
                                                         {"flow", KelTraceLevel::Flow},
                                                         {"detail", KelTraceLevel::Detail}};
    return Find(names, name);
}

std::optional<unsigned long> KelTraceNames::Category(std::string const& name)
{
    static std::pair<char const*, unsigned long> const names[] = {{"flow", KelTraceCategory::Flow},
                                                                  {"raise", KelTraceCategory::Raise},
                                                                  {"count", KelTraceCategory::Count},
                                                                  {"ident", KelTraceCategory::Ident},
                                                                  {"dump", KelTraceCategory::Dump}};
    return Find(names, name);
}

std::optional<unsigned long> KelTraceNames::Component(std::string const& name)
{
    static std::pair<char const*, unsigned long> const names[] = {{"kernel", KelTraceComponent::Kernel},
                                                                  {"database", KelTraceComponent::Database},
                                                                  {"rows", KelTraceComponent::Rows},
                                                                  {"cache", KelTraceComponent::Cache}};
    return Find(names, name);
}
