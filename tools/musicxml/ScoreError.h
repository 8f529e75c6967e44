// Why a score cannot be read or written: one message for the user, naming the place in the
// score where it can.
#pragma once

#include <stdexcept>
#include <string>

namespace plovikxml {

class ScoreError : public std::runtime_error {
  public:
    explicit ScoreError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace plovikxml
