// What a check of plovik-validate reports into.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plovikvalidate {

class Oracle;

// A command of the module, as FinaleExtensionEnumerate describes it.
struct Command {
    uint32_t index;
    std::string menuText;
    std::string description;
    std::string shortName;
};

// What a check reports: the cases it ran and the failures it saw (the first few are kept).
class Context {
  public:
    Context(std::string plugin, uint32_t seed, std::vector<Command> commands = {},
            const Oracle* oracle = nullptr)
        : plugin_(std::move(plugin)),
          seed_(seed),
          commands_(std::move(commands)),
          oracle_(oracle) {}
    const std::string& Plugin() const { return plugin_; }
    // The seed of the random combinations; the same seed gives the same cases.
    uint32_t Seed() const { return seed_; }
    // The module's commands, as it listed them when the checks began.
    const std::vector<Command>& Commands() const { return commands_; }
    // What the commands may change beyond the rules for every command (null: nothing known).
    const Oracle* GetOracle() const { return oracle_; }

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
    std::vector<Command> commands_;
    const Oracle* oracle_;
    std::string label_;
    int cases_ = 0;
    int failures_ = 0;
    std::vector<std::string> messages_;
};

}  // namespace plovikvalidate
