#include "kernel/kelkcon.hpp"

#include <cstdio>
#include <cstdlib>

namespace {
KelContractPolicy gPolicy = KelContractPolicy::Throw;
KelContractRecorder* gRecorder = nullptr;

std::string Describe(KelContractFailure const& f)
{
    return std::string(KelContractKindName(f.kind)) + " failed: " + f.condition + ", File=" + f.file +
           ", Line=" + std::to_string(f.line);
}
}  // namespace

char const* KelContractKindName(KelContractKind kind)
{
    switch (kind) {
    case KelContractKind::Require: return "kelkRequire";
    case KelContractKind::Ensure: return "kelkEnsure";
    case KelContractKind::Invariant: return "kelkInvariant";
    case KelContractKind::Assert: return "kelkAssert";
    }
    return "kelkCheck";
}

KelContractViolation::KelContractViolation(KelContractFailure failure)
    : std::logic_error(Describe(failure)), _failure(std::move(failure))
{
}

KelContractPolicy KelContract::SetPolicy(KelContractPolicy policy)
{
    KelContractPolicy previous = gPolicy;
    gPolicy = policy;
    return previous;
}

KelContractPolicy KelContract::Policy() { return gPolicy; }

void KelContract::Fail(KelContractKind kind, char const* condition, char const* file, unsigned line)
{
    KelContractFailure failure{kind, condition ? condition : "<null>", file ? file : "<null>", line};
    if (gRecorder) gRecorder->Record(failure);
    switch (gPolicy) {
    case KelContractPolicy::Continue: return;
    case KelContractPolicy::Abort: std::fprintf(stderr, "%s\n", Describe(failure).c_str()); std::abort();
    case KelContractPolicy::Throw: break;
    }
    throw KelContractViolation(std::move(failure));
}

void KelContract::FailHard(KelContractKind kind, char const* condition, char const* file, unsigned line)
{
    Fail(kind, condition, file, line);
    throw KelContractViolation(KelContractFailure{kind, condition, file, line});
}

KelContractRecorder::KelContractRecorder()
    : _previous(gRecorder), _previousPolicy(KelContract::SetPolicy(KelContractPolicy::Continue))
{
    gRecorder = this;
}

KelContractRecorder::~KelContractRecorder()
{
    gRecorder = _previous;
    KelContract::SetPolicy(_previousPolicy);
}

std::vector<std::string> KelContractRecorder::Conditions() const
{
    std::vector<std::string> out;
    for (auto const& f : _failures) out.push_back(f.condition);
    return out;
}

bool KelContractRecorder::Has(std::string const& condition) const
{
    for (auto const& f : _failures)
        if (f.condition == condition) return true;
    return false;
}
