// Reading and writing the files plovik-host works on. "-" is standard input or output. A file
// is written beside its target and put in its place only when complete, so a failure never
// leaves a half-written file, least of all over the score that was read.
#pragma once

#include <string>

namespace plovikxml {

class ScoreFiles {
  public:
    // Throws ScoreError naming the file.
    static std::string Read(const std::string& path);
    static void Write(const std::string& path, const std::string& bytes);

    // Files larger than this are refused.
    static constexpr size_t kMaxBytes = size_t{1} << 30;
};

}  // namespace plovikxml
