#pragma once
// A pattern run's hook for tests: records every pattern the finders report to it, in order.

#include "core/Patterns.h"

#include <QString>
#include <vector>

namespace orbivex::test {

struct HookCall {
    QString name;
    std::vector<BodyIndex> bodies;
    bool operator==(const HookCall&) const = default;
};

// Seeks bodies for the first `budget` calls only, as a run that finds its bodies stops
// listening part-way through a search.
class RecordingRunHook : public PatternRunHook {
  public:
    explicit RecordingRunHook(int budget = 1 << 30) : budget_(budget) {}
    bool SeeksBodies() const override { return static_cast<int>(calls.size()) < budget_; }
    void CheckSoughtBodies(const QString& name, std::span<const BodyIndex> bodies) override {
        calls.push_back({name, {bodies.begin(), bodies.end()}});
    }
    std::vector<HookCall> calls;

  private:
    int budget_;
};

} // namespace orbivex::test
