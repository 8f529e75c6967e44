#include "XmlOutline.h"

#include <expat.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>

#include "ScoreError.h"

namespace plovikxml {

namespace {

struct ParserFree {
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};

// What the handlers need: the parser (for offsets), the outline to fill, and where they are.
struct ScanState {
    XML_Parser parser;
    XmlOutline* outline;
    int depth = 0;
    bool partwise = false;
    bool inGroup = false;               // the open element at depth 2 is a group
    size_t startEnd[4] = {0, 0, 0, 0};  // just past the start tag of the open element, by depth
    std::string encoding;               // as the declaration names it
};

void XMLCALL Declaration(void* data, const XML_Char*, const XML_Char* encoding, int) {
    if (encoding) static_cast<ScanState*>(data)->encoding = encoding;
}

bool NamesUtf8(std::string name) {
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name.empty() || name == "UTF-8" || name == "UTF8" || name == "US-ASCII" ||
           name == "ASCII";
}

// Windows-1252, which expat does not know: Latin-1 but for the printable characters at 0x80
// to 0x9F (five of them unassigned). Older programs write scores in it.
int XMLCALL KnownSingleByteEncoding(void*, const XML_Char* name, XML_Encoding* info) {
    std::string upper(name);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper != "WINDOWS-1252" && upper != "CP1252") return XML_STATUS_ERROR;
    static const int kHigh[32] = {0x20AC, -1,     0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, -1,     0x017D, -1,
                                  -1,     0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, -1,     0x017E, 0x0178};
    for (int i = 0; i < 256; ++i) info->map[i] = i >= 0x80 && i < 0xA0 ? kHigh[i - 0x80] : i;
    info->data = nullptr;
    info->convert = nullptr;
    info->release = nullptr;
    return XML_STATUS_OK;
}

const char* Attribute(const char** attributes, const char* name) {
    for (; attributes && attributes[0]; attributes += 2)
        if (std::strcmp(attributes[0], name) == 0) return attributes[1];
    return "";
}

XmlOutline::Span Opened(ScanState& scan, const char* attribute) {
    XmlOutline::Span span;
    span.begin = static_cast<size_t>(XML_GetCurrentByteIndex(scan.parser));
    span.attribute = attribute;
    return span;
}

void XMLCALL Start(void* data, const XML_Char* name, const XML_Char** attributes) {
    ScanState& scan = *static_cast<ScanState*>(data);
    XmlOutline& outline = *scan.outline;
    const int depth = ++scan.depth;
    if (depth > 3) return;
    scan.startEnd[depth] = static_cast<size_t>(XML_GetCurrentByteIndex(scan.parser) +
                                               XML_GetCurrentByteCount(scan.parser));
    if (depth == 1) {
        outline.root = name;
        scan.partwise = outline.root == "score-partwise";
    } else if (depth == 2) {
        scan.inGroup = false;
        if (!outline.hasPartList && std::strcmp(name, "part-list") == 0) {
            outline.hasPartList = true;
            outline.partList = Opened(scan, "");
        } else if (std::strcmp(name, scan.partwise ? "part" : "measure") == 0) {
            scan.inGroup = true;
            outline.groups.push_back(
                {Opened(scan, Attribute(attributes, scan.partwise ? "id" : "number")), {}});
        }
    } else if (scan.inGroup && std::strcmp(name, scan.partwise ? "measure" : "part") == 0) {
        outline.groups.back().children.push_back(
            Opened(scan, Attribute(attributes, scan.partwise ? "number" : "id")));
    }
}

void XMLCALL End(void* data, const XML_Char* name) {
    ScanState& scan = *static_cast<ScanState*>(data);
    XmlOutline& outline = *scan.outline;
    const int depth = scan.depth--;
    if (depth < 2 || depth > 3) return;
    // An empty-element tag ends where its start tag does.
    const int count = XML_GetCurrentByteCount(scan.parser);
    const size_t end = count > 0 ? static_cast<size_t>(XML_GetCurrentByteIndex(scan.parser) + count)
                                 : scan.startEnd[depth];
    if (depth == 2) {
        if (scan.inGroup)
            outline.groups.back().span.end = end;
        else if (outline.hasPartList && outline.partList.end == 0 &&
                 std::strcmp(name, "part-list") == 0)
            outline.partList.end = end;
        scan.inGroup = false;
    } else if (scan.inGroup && !outline.groups.back().children.empty() &&
               outline.groups.back().children.back().end == 0 &&
               std::strcmp(name, scan.partwise ? "measure" : "part") == 0) {
        outline.groups.back().children.back().end = end;
    }
}

}  // namespace

void XmlOutline::Scan(const std::string& text, const std::string& where, bool utf8) {
    *this = XmlOutline{};
    std::unique_ptr<XML_ParserStruct, ParserFree> parser(
        XML_ParserCreate(utf8 ? "UTF-8" : nullptr));
    if (!parser) throw ScoreError("out of memory reading the score");
    ScanState scan{parser.get(), this};
    XML_SetUserData(parser.get(), &scan);
    XML_SetElementHandler(parser.get(), Start, End);
    XML_SetXmlDeclHandler(parser.get(), Declaration);
    XML_SetUnknownEncodingHandler(parser.get(), KnownSingleByteEncoding, nullptr);
    constexpr size_t kChunk = size_t{1} << 30;
    size_t done = 0;
    bool ok = true;
    do {
        const size_t n = std::min(kChunk, text.size() - done);
        ok = XML_Parse(parser.get(), text.data() + done, static_cast<int>(n),
                       done + n == text.size()) == XML_STATUS_OK;
        done += n;
    } while (ok && done < text.size());
    if (ok) {
        // Text in UTF-16 begins with a byte order mark or with a zero byte beside the "<".
        const bool wide = text.size() >= 2 && (text[0] == '\0' || text[1] == '\0' ||
                                               text.compare(0, 2, "\xFF\xFE") == 0 ||
                                               text.compare(0, 2, "\xFE\xFF") == 0);
        utf8_ = utf8 || (!wide && NamesUtf8(scan.encoding));
        declared_ = scan.encoding;
        return;
    }
    throw ScoreError("not MusicXML: not well-formed XML at line " +
                     std::to_string(XML_GetCurrentLineNumber(parser.get())) + ", column " +
                     std::to_string(XML_GetCurrentColumnNumber(parser.get()) + 1) +
                     (where.empty() ? "" : " " + where) + ": " +
                     XML_ErrorString(XML_GetErrorCode(parser.get())));
}

}  // namespace plovikxml
