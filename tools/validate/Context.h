// What a check of plovik-validate reports into.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plovikvalidate {

// What a check reports: the cases it ran and the failures it saw (the first few are kept).
class Context {
  public:
    Context(std::string plugin, uint32_t seed) : plugin_(std::move(plugin)), seed_(seed) {}
    const std::string& Plugin() const { return plugin_; }
    // The seed of the random combinations; the same seed gives the same cases.
    uint32_t Seed() const { return seed_; }

    void Case() { ++cases_; }
    // Records a failure unless the condition holds; returns the condition.
    bool Expect(bool ok, const std::string& what);
    void Fail(const std::string& what) { Expect(false, what); }
    // Every failure from now on names the case: "<label>: <what>".
    void Label(std::string label) { label_ = std::move(label); }

    int Cases() const { return cases_; }
    int Failures() const { return failures_; }
    const std::vector<std::string>& Messages() const { return messages_; }

  private:
    std::string plugin_;
    uint32_t seed_;
    std::string label_;
    int cases_ = 0;
    int failures_ = 0;
    std::vector<std::string> messages_;
};

}  // namespace plovikvalidate
