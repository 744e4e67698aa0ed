// Reading pattern text into notes, and rendering the notes of a piece.
#include "tools/synth/music/sequencer.h"

#include "tools/synth/dsp/envelopes.h"
#include "tools/synth/dsp/filters.h"
#include "tools/synth/dsp/noise.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>

namespace {

// One token of a line, in beats from the start of the line.
struct token_event {
    double at = 0.0;
    double length = 0.0;
    float velocity = 0.8f;
    bool rest = false;
    std::vector<int> values;  // pitches (melody), chord-tone indices (arpeggio, bass)
    std::string word;         // the token itself ("hold", "x", chord symbols)
};

struct parsed_line {
    std::vector<token_event> events;
    double length = 0.0;
};

struct chord {
    int root = 0;  // pitch class
    int bass = 0;  // pitch class of the bass note (the root unless written "C/E")
    std::vector<int> intervals;
};

struct chord_span {
    double at = 0.0;  // beats from the start of the section
    double length = 0.0;
    chord value;
};

int pitch_class(char letter)
{
    static const int classes[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    return letter >= 'A' && letter <= 'G' ? classes[letter - 'A'] : -1;
}

// "C#4" -> 61. False for anything else.
bool parse_pitch(const std::string& text, int& out)
{
    if (text.size() < 2)
        return false;
    int pc = pitch_class(text[0]);
    if (pc < 0)
        return false;
    size_t i = 1;
    if (text[i] == '#' || text[i] == 'b') {
        pc += text[i] == '#' ? 1 : -1;
        ++i;
    }
    char* end = nullptr;
    long octave = std::strtol(text.c_str() + i, &end, 10);
    if (i >= text.size() || *end || octave < -1 || octave > 8)
        return false;
    out = int(12 * (octave + 1) + pc);
    return true;
}

bool parse_chord(const std::string& text, chord& out)
{
    static const std::map<std::string, std::vector<int>> qualities = {
        {"", {0, 4, 7}},       {"m", {0, 3, 7}},        {"7", {0, 4, 7, 10}},     {"maj7", {0, 4, 7, 11}},
        {"m7", {0, 3, 7, 10}}, {"sus2", {0, 2, 7}},     {"sus4", {0, 5, 7}},      {"6", {0, 4, 7, 9}},
        {"m6", {0, 3, 7, 9}},  {"add9", {0, 4, 7, 14}}, {"madd9", {0, 3, 7, 14}}, {"dim", {0, 3, 6}},
    };
    if (text.empty())
        return false;
    size_t slash = text.find('/');
    std::string head = text.substr(0, slash);
    auto note_of = [](const std::string& s, size_t& used) {
        int pc = pitch_class(s.empty() ? ' ' : s[0]);
        used = 1;
        if (pc >= 0 && s.size() > 1 && (s[1] == '#' || s[1] == 'b')) {
            pc += s[1] == '#' ? 1 : -1;
            used = 2;
        }
        return pc;
    };
    size_t used = 0;
    int root = note_of(head, used);
    if (root < 0)
        return false;
    auto q = qualities.find(head.substr(used));
    if (q == qualities.end())
        return false;
    out.root = (root + 12) % 12;
    out.bass = out.root;
    out.intervals = q->second;
    if (slash != std::string::npos) {
        std::string b = text.substr(slash + 1);
        int bass = note_of(b, used);
        if (bass < 0 || used != b.size())
            return false;
        out.bass = (bass + 12) % 12;
    }
    return true;
}

// "1.5", "1/3" -> beats.
bool parse_length(const std::string& text, double& out)
{
    char* end = nullptr;
    double a = std::strtod(text.c_str(), &end);
    if (end == text.c_str())
        return false;
    if (*end == '/') {
        const char* rest = end + 1;
        double b = std::strtod(rest, &end);
        if (end == rest || b <= 0)
            return false;
        a /= b;
    }
    if (*end || a <= 0)
        return false;
    out = a;
    return true;
}

std::vector<std::string> words_of(const char* text)
{
    std::string spaced;
    for (const char* p = text; *p; ++p) {
        if (*p == '|')
            spaced += " | ";
        else
            spaced += *p;
    }
    std::istringstream in(spaced);
    std::vector<std::string> words;
    std::string w;
    while (in >> w)
        words.push_back(w);
    return words;
}

bool near_whole(double beats, double unit)
{
    double r = std::fmod(beats, unit);
    return r < 1e-6 || unit - r < 1e-6;
}

// The common frame of every line but drums: tokens with lengths, bar checks, accents.
// `value` reads a token's body into the event (false for a bad token).
template <typename Body>
bool parse_tokens(const char* text, int beats_per_bar, parsed_line& out, std::string& error, Body value)
{
    double at = 0.0, length = 1.0;
    for (const std::string& word : words_of(text)) {
        if (word == "|") {
            if (!near_whole(at, beats_per_bar)) {
                error = "a bar line after " + std::to_string(at) + " beats, not a whole bar";
                return false;
            }
            continue;
        }
        token_event e;
        std::string body = word;
        if (body[0] == '>' || body[0] == '~') {
            e.velocity = body[0] == '>' ? 1.0f : 0.55f;
            body.erase(0, 1);
        }
        size_t colon = body.rfind(':');
        if (colon != std::string::npos) {
            if (!parse_length(body.substr(colon + 1), length)) {
                error = "bad length in '" + word + "'";
                return false;
            }
            body.erase(colon);
        }
        e.at = at;
        e.length = length;
        e.word = body;
        if (body == "-") {
            if (out.events.empty() || out.events.back().rest) {
                error = "'-' holds nothing";
                return false;
            }
            out.events.back().length += length;
        } else if (body == "r") {
            e.rest = true;
            out.events.push_back(e);
        } else {
            if (!value(body, e)) {
                error = "cannot read '" + word + "'";
                return false;
            }
            out.events.push_back(e);
        }
        at += length;
    }
    out.length = at;
    return true;
}

bool parse_drums(const char* text, int beats_per_bar, parsed_line& out, std::string& error)
{
    std::vector<std::string> bars;
    std::string current;
    for (const char* p = text; *p; ++p) {
        if (*p == '|') {
            bars.push_back(current);
            current.clear();
        } else if (*p != ' ') {
            current += *p;
        }
    }
    if (!current.empty())
        bars.push_back(current);
    double at = 0.0;
    for (const std::string& bar : bars) {
        if (bar.empty()) {
            error = "an empty drum bar";
            return false;
        }
        double step = double(beats_per_bar) / double(bar.size());
        for (char c : bar) {
            if (c != '.') {
                token_event e;
                e.at = at;
                e.length = step;
                if (c == 'X')
                    e.velocity = 1.0f;
                else if (c == 'x')
                    e.velocity = 0.75f;
                else if (c == 'o')
                    e.velocity = 0.45f;
                else {
                    error = std::string("unknown drum step '") + c + "'";
                    return false;
                }
                out.events.push_back(e);
            }
            at += step;
        }
    }
    out.length = at;
    return true;
}

bool parse_line(part_role role, const char* text, int beats_per_bar, parsed_line& out, std::string& error)
{
    switch (role) {
    case part_role::drums:
        return parse_drums(text, beats_per_bar, out, error);
    case part_role::melody:
        return parse_tokens(text, beats_per_bar, out, error, [](const std::string& body, token_event& e) {
            size_t start = 0;
            while (start <= body.size()) {
                size_t plus = body.find('+', start);
                std::string one =
                    body.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
                int p;
                if (!parse_pitch(one, p))
                    return false;
                e.values.push_back(p);
                if (plus == std::string::npos)
                    break;
                start = plus + 1;
            }
            return true;
        });
    case part_role::arpeggio:
    case part_role::bass:
        return parse_tokens(text, beats_per_bar, out, error, [](const std::string& body, token_event& e) {
            char* end = nullptr;
            long v = std::strtol(body.c_str(), &end, 10);
            if (end == body.c_str() || *end || v < -12 || v > 24)
                return false;
            e.values.push_back(int(v));
            return true;
        });
    case part_role::pad:
        return parse_tokens(text, beats_per_bar, out, error, [](const std::string& body, token_event&) {
            return body == "x" || body == "hold";
        });
    }
    return false;
}

// The pitch of chord tone `index` for a chord whose root sits at `root_pitch`.
int chord_tone(const chord& c, int root_pitch, int index)
{
    int n = int(c.intervals.size());
    int octave = index >= 0 ? index / n : -((-index + n - 1) / n);
    int k = index - octave * n;
    return root_pitch + c.intervals[size_t(k)] + 12 * octave;
}

// The pitch of pitch class `pc` in the octave [low, low + 12).
int place(int pc, int low)
{
    int p = low + ((pc - low) % 12 + 12) % 12;
    return p;
}

std::vector<int> pad_voicing(const chord& c, int centre)
{
    std::vector<int> notes;
    for (int interval : c.intervals)
        notes.push_back(place((c.root + interval) % 12, centre - 6));
    std::sort(notes.begin(), notes.end());
    notes.erase(std::unique(notes.begin(), notes.end()), notes.end());
    return notes;
}

const chord_span* chord_at(const std::vector<chord_span>& spans, double beat)
{
    for (const chord_span& s : spans)
        if (beat + 1e-9 >= s.at && beat < s.at + s.length - 1e-9)
            return &s;
    return spans.empty() ? nullptr : &spans.back();
}

class timeline {
public:
    timeline(const song_spec& s) : song(s) {}

    // Seconds at `beat`, with swing moving the off-beat eighths later.
    double seconds(double beat) const
    {
        double whole = std::floor(beat + 1e-9);
        double frac = beat - whole;
        double split = 0.5 + double(song.swing) * 0.5;
        double swung = frac <= 0.5 ? frac * 2.0 * split : split + (frac - 0.5) * 2.0 * (1.0 - split);
        return (whole + swung) * 60.0 / song.tempo;
    }

private:
    const song_spec& song;
};

}  // namespace

bool sequence_song(const song_spec& song, sequenced_song& out, std::string& error)
{
    out = sequenced_song{};
    std::string where = std::string(song.name) + ": ";
    std::map<std::string, const section_spec*> sections;
    for (const section_spec& s : song.sections)
        sections[s.name] = &s;
    std::map<std::string, size_t> part_index;
    for (const part_setup& p : song.parts) {
        part_index[p.name] = out.parts.size();
        out.parts.push_back(part_notes{&p, {}});
    }
    timeline time(song);
    noise_source human(seed_mix(0x5eed, uint32_t(std::strlen(song.name))));
    for (const char* c = song.name; *c; ++c)
        human = noise_source(seed_mix(human.next_seed(), uint32_t(*c)));

    double offset = 0.0;  // beats
    for (const char* name : song.form) {
        auto found = sections.find(name);
        if (found == sections.end()) {
            error = where + "the form names no section '" + name + "'";
            return false;
        }
        const section_spec& sec = *found->second;
        std::string here = where + "section " + sec.name + ": ";
        double beats = double(sec.bars * song.beats_per_bar);
        if (sec.bars <= 0) {
            error = here + "no bars";
            return false;
        }

        // Chords, repeated to fill the section.
        std::vector<chord_span> spans;
        if (sec.chords && *sec.chords) {
            parsed_line line;
            std::string e;
            if (!parse_tokens(sec.chords, song.beats_per_bar, line, e,
                              [](const std::string& body, token_event&) {
                                  chord c;
                                  return parse_chord(body, c);
                              })) {
                error = here + "chords: " + e;
                return false;
            }
            if (line.length <= 0 || !near_whole(beats, line.length)) {
                error = here + "chords: their length does not divide the section";
                return false;
            }
            for (double base = 0.0; base < beats - 1e-9; base += line.length)
                for (const token_event& t : line.events) {
                    chord c;
                    parse_chord(t.word, c);
                    if (!t.rest)
                        spans.push_back({base + t.at, t.length, c});
                }
            for (const chord_span& s : spans) {
                std::vector<int> pcs;
                for (int i : s.value.intervals)
                    pcs.push_back((s.value.root + i) % 12);
                out.chords.push_back({time.seconds(offset + s.at), pcs});
            }
        }

        for (const section_line& l : sec.lines) {
            auto p = part_index.find(l.part);
            if (p == part_index.end()) {
                error = here + "no part '" + l.part + "'";
                return false;
            }
            part_notes& target = out.parts[p->second];
            const part_setup& setup = *target.part;
            parsed_line line;
            std::string e;
            if (!parse_line(setup.role, l.text, song.beats_per_bar, line, e)) {
                error = here + l.part + ": " + e;
                return false;
            }
            if (line.length <= 0 || !near_whole(beats, line.length) || line.length > beats + 1e-9) {
                error = here + l.part + ": its " + std::to_string(line.length) +
                        " beats do not divide the section's " + std::to_string(beats);
                return false;
            }
            bool needs_chords = setup.role == part_role::arpeggio || setup.role == part_role::bass ||
                                setup.role == part_role::pad;
            if (needs_chords && spans.empty()) {
                error = here + l.part + ": needs the section's chords";
                return false;
            }
            auto add = [&](double at, double length, int pitch, float velocity) {
                note_event n;
                float h = setup.humanise;
                double late = 0.004 * double(human.unit()) * double(h);
                n.start = time.seconds(offset + at) + late;
                n.length = time.seconds(offset + at + length) - time.seconds(offset + at);
                n.pitch = pitch;
                n.velocity = velocity * (1.0f - 0.1f * h * human.unit());
                n.seed = human.next_seed();
                target.notes.push_back(n);
            };
            for (double base = 0.0; base < beats - 1e-9; base += line.length) {
                for (const token_event& t : line.events) {
                    if (t.rest)
                        continue;
                    double at = base + t.at;
                    switch (setup.role) {
                    case part_role::melody:
                        for (int pitch : t.values)
                            add(at, t.length, pitch, t.velocity);
                        break;
                    case part_role::drums:
                        add(at, t.length, setup.centre, t.velocity);
                        break;
                    case part_role::arpeggio:
                    case part_role::bass: {
                        const chord& c = chord_at(spans, at)->value;
                        bool low = setup.role == part_role::bass;
                        int root = place(c.root, low ? setup.centre - 6 : setup.centre - 11);
                        // The bass plays the written bass note ("C/E") in place of the root.
                        int pitch = low && t.values[0] == 0 ? place(c.bass, setup.centre - 6)
                                                            : chord_tone(c, root, t.values[0]);
                        add(at, t.length, pitch, t.velocity);
                        break;
                    }
                    case part_role::pad:
                        if (t.word == "hold") {
                            for (const chord_span& s : spans)
                                if (s.at + 1e-9 >= at && s.at < at + t.length - 1e-9)
                                    for (int pitch : pad_voicing(s.value, setup.centre))
                                        add(s.at, std::min(s.length, at + t.length - s.at), pitch,
                                            t.velocity);
                        } else {
                            for (int pitch : pad_voicing(chord_at(spans, at)->value, setup.centre))
                                add(at, t.length, pitch, t.velocity);
                        }
                        break;
                    }
                }
            }
        }
        offset += beats;
    }
    out.seconds = time.seconds(offset);
    for (part_notes& p : out.parts)
        std::stable_sort(p.notes.begin(), p.notes.end(),
                         [](const note_event& a, const note_event& b) { return a.start < b.start; });
    return true;
}

stereo_buffer render_song(const song_spec& song, const sequenced_song& seq, const char* solo)
{
    size_t pass = seconds_to_frames(seq.seconds);
    // Long enough for the slowest decay and the room to die below 16 bits.
    size_t tail = seconds_to_frames(double(song.room.seconds) * 1.6 + 9.0);
    size_t total = pass + tail;
    stereo_buffer dry, send;
    dry.resize(total);
    send.resize(total);
    for (const part_notes& p : seq.parts) {
        if (solo && std::strcmp(solo, p.part->name) != 0)
            continue;
        mono_buffer part(total, 0.0f);
        for (note_event n : p.notes) {
            // A piece that plays once lets its last struck and plucked notes ring out
            // rather than damping them at the final bar line.
            if (!song.loops && !is_sustained(p.part->sound) && n.start + n.length >= seq.seconds - 0.01)
                n.length += 1.5;
            render_note(p.part->sound, n, part);
        }
        part.resize(total);
        float gain = db_to_gain(p.part->level_db);
        mix_into(dry, 0, part, gain, p.part->pan);
        if (p.part->reverb > 0.0f)
            mix_into(send, 0, part, gain * p.part->reverb, p.part->pan);
    }
    add_reverb(send, song.room, song.room_level, dry);
    remove_dc(dry, 18.0);
    if (song.loops) {
        // Everything is linear up to here, so the loop heard forever is the sum of
        // passes shifted by whole loop lengths: fold each later stretch onto the start.
        for (size_t from = pass; from < total; from += pass) {
            size_t n = std::min(pass, total - from);
            for (size_t i = 0; i < n; ++i) {
                dry.left[i] += dry.left[from + i];
                dry.right[i] += dry.right[from + i];
            }
        }
        dry.resize(pass);
        dry.left.shrink_to_fit();
        dry.right.shrink_to_fit();
    } else if (song.ends_by > 0.0) {
        size_t end = std::min(dry.frames(), seconds_to_frames(song.ends_by));
        dry.resize(end);
        end_in_silence(dry, std::min(pass, end), song.fade_out);
    } else {
        end_in_silence(dry, pass, 0.03);
    }
    return dry;
}
