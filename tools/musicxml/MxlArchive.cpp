#include "MxlArchive.h"

#include <zip.h>

#include <cstdio>
#include <memory>
#include <pugixml.hpp>

#include "ScoreError.h"

namespace plovikxml {

namespace {

constexpr char kContainer[] = "META-INF/container.xml";

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;

std::string Why(zip_error_t& error) {
    std::string why = zip_error_strerror(&error);
    zip_error_fini(&error);
    return why;
}

std::string Why(zip_t* archive) {
    return zip_error_strerror(zip_get_error(archive));
}

// Opens the archive over the bytes; the source stays the caller's when `keep` is set, so that
// what the archive writes on closing can be read back from it.
Archive OpenArchive(const std::string& bytes, int flags, zip_source_t** keep) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (!source) throw ScoreError("not a MusicXML archive: " + Why(error));
    if (keep) {
        zip_source_keep(source);
        *keep = source;
    }
    zip_t* archive = zip_open_from_source(source, flags, &error);
    if (!archive) {
        zip_source_free(source);  // drops our hold, or frees it
        if (keep) {
            zip_source_free(source);
            *keep = nullptr;
        }
        throw ScoreError("not a MusicXML archive: " + Why(error));
    }
    return Archive(archive);
}

zip_uint64_t Locate(zip_t* archive, const std::string& path, const char* what) {
    const zip_int64_t index = zip_name_locate(archive, path.c_str(), 0);
    if (index < 0)
        throw ScoreError(std::string("not a MusicXML archive: it has no ") + what + " " + path);
    return static_cast<zip_uint64_t>(index);
}

std::string ReadMember(zip_t* archive, const std::string& path, const char* what) {
    const zip_uint64_t index = Locate(archive, path, what);
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive, index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE))
        throw ScoreError("cannot read " + path + " in the archive: " + Why(archive));
    if (stat.size > MxlArchive::kMaxMemberBytes)
        throw ScoreError(path + " in the archive is larger than 256 MiB unpacked");
    std::string bytes(static_cast<size_t>(stat.size), '\0');
    zip_file_t* file = zip_fopen_index(archive, index, 0);
    if (!file) throw ScoreError("cannot read " + path + " in the archive: " + Why(archive));
    const zip_int64_t read = zip_fread(file, bytes.data(), bytes.size());
    zip_fclose(file);
    if (read < 0 || static_cast<zip_uint64_t>(read) != stat.size)
        throw ScoreError("cannot read " + path + " in the archive: it is damaged");
    return bytes;
}

// Writes the archive into the source it was opened over, and gives back its bytes.
std::string Close(Archive zip, zip_source_t* source) {
    if (zip_close(zip.get()) != 0) throw ScoreError("cannot write the archive: " + Why(zip.get()));
    zip.release();  // closed
    if (zip_source_open(source) != 0)
        throw ScoreError("cannot write the archive: the new archive cannot be read back");
    std::string out;
    if (zip_source_seek(source, 0, SEEK_END) == 0) {
        const zip_int64_t size = zip_source_tell(source);
        if (size > 0 && zip_source_seek(source, 0, SEEK_SET) == 0) {
            out.resize(static_cast<size_t>(size));
            if (zip_source_read(source, out.data(), out.size()) != size) out.clear();
        }
    }
    zip_source_close(source);
    if (out.empty()) throw ScoreError("cannot write the archive: the new archive is empty");
    return out;
}

}  // namespace

bool MxlArchive::Looks(const std::string& bytes) {
    return bytes.size() >= 4 && bytes.compare(0, 4, "PK\x03\x04", 4) == 0;
}

void MxlArchive::ReadScore(const std::string& archive, std::string& path, std::string& score) {
    Archive zip = OpenArchive(archive, ZIP_RDONLY, nullptr);
    const std::string container = ReadMember(zip.get(), kContainer, "container");
    pugi::xml_document doc;
    if (!doc.load_buffer(container.data(), container.size()))
        throw ScoreError("not a MusicXML archive: its container is not XML");
    // The first root file is the score; later ones are other renderings of it.
    const pugi::xml_attribute fullPath =
        doc.child("container").child("rootfiles").child("rootfile").attribute("full-path");
    if (!fullPath || !*fullPath.value())
        throw ScoreError("not a MusicXML archive: its container names no score");
    path = fullPath.value();
    score = ReadMember(zip.get(), path, "score");
}

std::string MxlArchive::ReplaceMember(const std::string& archive, const std::string& path,
                                      const std::string& bytes) {
    zip_source_t* kept = nullptr;
    Archive zip = OpenArchive(archive, 0, &kept);
    std::unique_ptr<zip_source_t, decltype(&zip_source_free)> result(kept, &zip_source_free);
    const zip_uint64_t index = Locate(zip.get(), path, "score");
    zip_stat_t stat;
    zip_stat_init(&stat);
    zip_stat_index(zip.get(), index, 0, &stat);

    zip_source_t* member = zip_source_buffer(zip.get(), bytes.data(), bytes.size(), 0);
    if (!member || zip_file_replace(zip.get(), index, member, 0) != 0) {
        if (member) zip_source_free(member);
        throw ScoreError("cannot write the archive: " + Why(zip.get()));
    }
    if ((stat.valid & ZIP_STAT_COMP_METHOD) &&
        (stat.comp_method == ZIP_CM_STORE || stat.comp_method == ZIP_CM_DEFLATE))
        zip_set_file_compression(zip.get(), index, static_cast<zip_int32_t>(stat.comp_method), 0);
    if (stat.valid & ZIP_STAT_MTIME) zip_file_set_mtime(zip.get(), index, stat.mtime, 0);
    return Close(std::move(zip), result.get());
}

std::string MxlArchive::Create(const std::string& path, const std::string& bytes) {
    std::string escaped;
    for (char c : path) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            default:
                escaped += c;
        }
    }
    const std::string container =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<container>\n  <rootfiles>\n"
        "    <rootfile full-path=\"" +
        escaped +
        "\" media-type=\"application/vnd.recordare.musicxml+xml\"/>\n  </rootfiles>\n"
        "</container>\n";
    static const char kMediaType[] = "application/vnd.recordare.musicxml";
    zip_source_t* kept = nullptr;
    Archive zip = OpenArchive(std::string(), ZIP_TRUNCATE, &kept);
    std::unique_ptr<zip_source_t, decltype(&zip_source_free)> result(kept, &zip_source_free);
    auto add = [&](const char* name, const char* data, size_t size, zip_int32_t method) {
        zip_source_t* member = zip_source_buffer(zip.get(), data, size, 0);
        const zip_int64_t index =
            member ? zip_file_add(zip.get(), name, member, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            if (member) zip_source_free(member);
            throw ScoreError("cannot write the archive: " + Why(zip.get()));
        }
        zip_set_file_compression(zip.get(), static_cast<zip_uint64_t>(index), method, 0);
    };
    add("mimetype", kMediaType, sizeof kMediaType - 1, ZIP_CM_STORE);
    add(kContainer, container.data(), container.size(), ZIP_CM_DEFLATE);
    add(path.c_str(), bytes.data(), bytes.size(), ZIP_CM_DEFLATE);
    return Close(std::move(zip), result.get());
}

}  // namespace plovikxml
