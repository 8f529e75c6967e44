#include "Context.h"

namespace plovikvalidate {

namespace {
constexpr size_t kMessagesKept = 8;
}  // namespace

bool Context::Expect(bool ok, const std::string& what) {
    if (ok) return true;
    ++failures_;
    if (messages_.size() < kMessagesKept)
        messages_.push_back(label_.empty() ? what : label_ + ": " + what);
    return false;
}

}  // namespace plovikvalidate
