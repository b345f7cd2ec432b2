// Contract checks of the kernel: kelkRequire (preconditions), kelkEnsure (results),
// kelkInvariant (class invariants) and kelkAssert (internal consistency).
//
// A check evaluates its condition and, only when it fails, reports the condition's
// source text, the file and the line to the kernel. What the kernel does then is one
// process-wide policy: throw KelContractViolation (the default), report and let the
// caller go on as if the condition held (tests use this through KelContractRecorder),
// or abort the process. Where going on would use a null handle, the kernel throws
// whatever the policy (KelContract::FailHard).
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

enum class KelContractKind { Require, Ensure, Invariant, Assert };
enum class KelContractPolicy { Throw, Continue, Abort };

char const* KelContractKindName(KelContractKind kind);

// One failed check, as reported.
struct KelContractFailure {
    KelContractKind kind;
    std::string condition;
    std::string file;
    unsigned line;
};

// Thrown for a failed check under the Throw policy, and always for a null handle.
class KelContractViolation : public std::logic_error {
public:
    explicit KelContractViolation(KelContractFailure failure);
    KelContractKind Kind() const { return _failure.kind; }
    std::string const& Condition() const { return _failure.condition; }
    std::string const& File() const { return _failure.file; }
    unsigned Line() const { return _failure.line; }

private:
    KelContractFailure _failure;
};

namespace KelContract {
// The process-wide reaction to a failed check; returns the previous policy.
KelContractPolicy SetPolicy(KelContractPolicy policy);
KelContractPolicy Policy();
// Reports a failed check; returns only under the Continue policy.
void Fail(KelContractKind kind, char const* condition, char const* file, unsigned line);
// Reports a failed check that must not return (a null handle would be used next).
[[noreturn]] void FailHard(KelContractKind kind, char const* condition, char const* file, unsigned line);
}  // namespace KelContract

// Collects every failed check while it lives and lets execution go on, so a test can
// see which checks an operation fails and that it then "goes on". Restores the
// previous policy when destroyed. Recorders nest.
class KelContractRecorder {
public:
    KelContractRecorder();
    ~KelContractRecorder();
    KelContractRecorder(KelContractRecorder const&) = delete;
    KelContractRecorder& operator=(KelContractRecorder const&) = delete;

    std::vector<KelContractFailure> const& Failures() const { return _failures; }
    std::vector<std::string> Conditions() const;
    bool Has(std::string const& condition) const;
    bool Empty() const { return _failures.empty(); }
    void Clear() { _failures.clear(); }
    void Record(KelContractFailure const& failure) { _failures.push_back(failure); }

private:
    std::vector<KelContractFailure> _failures;
    KelContractRecorder* _previous;
    KelContractPolicy _previousPolicy;
};

#define kelkCheck(kind, cond, text) ((cond) ? (void)0 : KelContract::Fail((kind), (text), __FILE__, __LINE__))
#define kelkRequire(cond) kelkCheck(KelContractKind::Require, cond, #cond)
#define kelkEnsure(cond) kelkCheck(KelContractKind::Ensure, cond, #cond)
#define kelkInvariant(cond) kelkCheck(KelContractKind::Invariant, cond, #cond)
#define kelkAssert(cond) kelkCheck(KelContractKind::Assert, cond, #cond)
