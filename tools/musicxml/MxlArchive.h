// Compressed MusicXML (.mxl): a zip archive whose META-INF/container.xml names the score file
// inside it. Both ways work in memory; writing replaces the score's bytes and keeps every other
// member as it was (its compressed bytes, its place in the archive, its time).
#pragma once

#include <cstddef>
#include <string>

namespace plovikxml {

class MxlArchive {
  public:
    // Whether the bytes begin as a zip archive does.
    static bool Looks(const std::string& bytes);
    // The path and the bytes of the score the container names. Throws ScoreError.
    static void ReadScore(const std::string& archive, std::string& path, std::string& score);
    // The archive with the member at that path holding these bytes. Throws ScoreError.
    static std::string ReplaceMember(const std::string& archive, const std::string& path,
                                     const std::string& bytes);
    // A new archive holding the score under that name, as notation programs write one: its
    // media type first and stored, then the container naming the score, then the score.
    static std::string Create(const std::string& path, const std::string& bytes);

    // Members larger than this are refused rather than unpacked.
    static constexpr size_t kMaxMemberBytes = size_t{256} << 20;
};

}  // namespace plovikxml
