// MusicXML for tests, laid out as notation programs write it, from a short text per measure:
//
//   "C4 C4~ E4+G4:2"  notes, durations in divisions (":1" when not given); "~" after a pitch
//                     starts a tie (<tie> and <tied>), "~" before it ends one; "+" joins the
//                     notes of a chord
//   "r:2"             a rest
//   "v2" "s2"         the notes that follow are in voice 2, on staff 2
//   "<4" ">2"         backup, forward
//   "<direction>..."  any other XML, without blanks
//   "g:D5" "cue:C4"   a grace note, a cue note
//
// Every part starts with one division per quarter, C major and 4/4 unless its first measure's
// `attributes` say otherwise.
#pragma once

#include <cctype>
#include <sstream>
#include <string>
#include <vector>

class MusicXmlText {
  public:
    MusicXmlText& Part(const std::string& id, const std::string& name, int staves = 1) {
        parts_.push_back({id, name, staves, {}});
        return *this;
    }
    // Raw XML for the measure's <attributes> (a key change, say) may come first.
    MusicXmlText& Measure(const std::string& music, const std::string& attributes = "") {
        parts_.back().measures.push_back({music, attributes});
        return *this;
    }
    std::string Str() const {
        std::ostringstream out;
        out << "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
            << "<!DOCTYPE score-partwise PUBLIC \"-//Recordare//DTD MusicXML 4.0 Partwise//EN\" "
               "\"http://www.musicxml.org/dtds/partwise.dtd\">\n"
            << "<score-partwise version=\"4.0\">\n  <part-list>\n";
        for (const PartText& part : parts_)
            out << "    <score-part id=\"" << part.id << "\">\n      <part-name>" << part.name
                << "</part-name>\n    </score-part>\n";
        out << "  </part-list>\n";
        for (const PartText& part : parts_) {
            out << "  <part id=\"" << part.id << "\">\n";
            for (size_t m = 0; m < part.measures.size(); ++m) {
                out << "    <measure number=\"" << m + 1 << "\">\n";
                std::string attributes = part.measures[m].attributes;
                if (m == 0) {
                    // What the first measure does not set itself.
                    auto unless = [&](const char* tag, const std::string& text) {
                        return attributes.find(tag) == std::string::npos ? text : std::string();
                    };
                    attributes =
                        unless("<divisions>", "<divisions>1</divisions>") +
                        unless("<key>", "<key><fifths>0</fifths></key>") +
                        unless("<time>", "<time><beats>4</beats><beat-type>4</beat-type></time>") +
                        (part.staves > 1 ? "<staves>" + std::to_string(part.staves) + "</staves>"
                                         : std::string()) +
                        attributes;
                }
                if (!attributes.empty())
                    out << "      <attributes>" << attributes << "</attributes>\n";
                WriteMusic(out, part.measures[m].music);
                out << "    </measure>\n";
            }
            out << "  </part>\n";
        }
        out << "</score-partwise>\n";
        return out.str();
    }

  private:
    struct MeasureText {
        std::string music;
        std::string attributes;
    };
    struct PartText {
        std::string id;
        std::string name;
        int staves;
        std::vector<MeasureText> measures;
    };

    static void WriteMusic(std::ostringstream& out, const std::string& music) {
        std::istringstream tokens(music);
        std::string token, voice = "1";
        int staff = 0;
        while (tokens >> token) {
            if (token[0] == 'v') {
                voice = token.substr(1);
            } else if (token[0] == 's') {
                staff = std::stoi(token.substr(1));
            } else if (token[0] == '<' && token.size() > 1 && !std::isdigit(token[1])) {
                out << "      " << token << "\n";  // raw XML, without blanks
            } else if (token[0] == '<' || token[0] == '>') {
                const char* name = token[0] == '<' ? "backup" : "forward";
                out << "      <" << name << ">\n        <duration>" << token.substr(1)
                    << "</duration>\n      </" << name << ">\n";
            } else {
                WriteEntry(out, token, voice, staff);
            }
        }
    }

    static void WriteEntry(std::ostringstream& out, std::string token, const std::string& voice,
                           int staff) {
        bool grace = false, cue = false;
        if (token.rfind("g:", 0) == 0) {
            grace = true;
            token = token.substr(2);
        } else if (token.rfind("cue:", 0) == 0) {
            cue = true;
            token = token.substr(4);
        }
        std::string duration = "1";
        const size_t colon = token.find(':');
        if (colon != std::string::npos) {
            duration = token.substr(colon + 1);
            token = token.substr(0, colon);
        }
        std::istringstream chord(token);
        std::string name;
        bool first = true;
        while (std::getline(chord, name, '+')) {
            const bool stop = !name.empty() && name[0] == '~';
            if (stop) name = name.substr(1);
            const bool start = !name.empty() && name.back() == '~';
            if (start) name.pop_back();
            out << "      <note>\n";
            if (grace) out << "        <grace/>\n";
            if (cue) out << "        <cue/>\n";
            if (!first) out << "        <chord/>\n";
            if (name == "r") {
                out << "        <rest/>\n";
            } else {
                out << "        <pitch>\n          <step>" << name[0] << "</step>\n";
                const std::string accidentals = name.substr(1, name.size() - 2);
                int alter = 0;
                for (char c : accidentals) alter += c == '#' ? 1 : -1;
                if (alter != 0) out << "          <alter>" << alter << "</alter>\n";
                out << "          <octave>" << name.back() << "</octave>\n        </pitch>\n";
            }
            if (!grace) out << "        <duration>" << duration << "</duration>\n";
            if (stop) out << "        <tie type=\"stop\"/>\n";
            if (start) out << "        <tie type=\"start\"/>\n";
            out << "        <voice>" << voice << "</voice>\n        <type>quarter</type>\n";
            if (staff > 0) out << "        <staff>" << staff << "</staff>\n";
            if (stop || start) {
                out << "        <notations>\n";
                if (stop) out << "          <tied type=\"stop\"/>\n";
                if (start) out << "          <tied type=\"start\"/>\n";
                out << "        </notations>\n";
            }
            out << "      </note>\n";
            first = false;
        }
    }

    std::vector<PartText> parts_;
};
