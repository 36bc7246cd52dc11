#include "tools/harmony/CircleOfFifths.h"

#include "tools/pitch/NoteFrequency.h"

#include <algorithm>

namespace morvela {

namespace CircleOfFifths {

const std::array<KeySlot, 12>& slots()
{
    static const std::array<KeySlot, 12> table{{
        {"C", "Am", 0, {"C", "D", "E", "F", "G", "A", "B"}},
        {"G", "Em", 1, {"G", "A", "B", "C", "D", "E", "F♯"}},
        {"D", "Bm", 2, {"D", "E", "F♯", "G", "A", "B", "C♯"}},
        {"A", "F♯m", 3, {"A", "B", "C♯", "D", "E", "F♯", "G♯"}},
        {"E", "C♯m", 4, {"E", "F♯", "G♯", "A", "B", "C♯", "D♯"}},
        {"B", "G♯m", 5, {"B", "C♯", "D♯", "E", "F♯", "G♯", "A♯"}},
        {"F♯", "D♯m", 6, {"F♯", "G♯", "A♯", "B", "C♯", "D♯", "E♯"}},
        {"D♭", "B♭m", -5, {"D♭", "E♭", "F", "G♭", "A♭", "B♭", "C"}},
        {"A♭", "Fm", -4, {"A♭", "B♭", "C", "D♭", "E♭", "F", "G"}},
        {"E♭", "Cm", -3, {"E♭", "F", "G", "A♭", "B♭", "C", "D"}},
        {"B♭", "Gm", -2, {"B♭", "C", "D", "E♭", "F", "G", "A"}},
        {"F", "Dm", -1, {"F", "G", "A", "B♭", "C", "D", "E"}},
    }};
    return table;
}

const std::array<std::string, 7>& sharpOrder()
{
    static const std::array<std::string, 7> order{"F♯", "C♯", "G♯", "D♯", "A♯", "E♯", "B♯"};
    return order;
}

const std::array<std::string, 7>& flatOrder()
{
    static const std::array<std::string, 7> order{"B♭", "E♭", "A♭", "D♭", "G♭", "C♭", "F♭"};
    return order;
}

std::string signatureText(std::int64_t accidentals)
{
    if (accidentals == 0)
        return "0";
    // Spelled from the magnitude's digits so that the most negative integer has no overflow.
    const auto magnitude = accidentals > 0 ? static_cast<std::uint64_t>(accidentals)
                                           : std::uint64_t{0} - static_cast<std::uint64_t>(accidentals);
    return std::to_string(magnitude) + (accidentals > 0 ? "♯" : "♭");
}

std::vector<std::string> signatureNotes(std::int64_t accidentals)
{
    const auto& order = accidentals >= 0 ? sharpOrder() : flatOrder();
    const std::int64_t count =
        accidentals >= 0 ? std::min<std::int64_t>(accidentals, 7) : (accidentals < -7 ? 7 : -accidentals);
    return {order.begin(), order.begin() + count};
}

std::int64_t wrappedIndex(std::int64_t index)
{
    return (index % 12 + 12) % 12;
}

} // namespace CircleOfFifths

namespace {

// Removes the last code point: one user-perceived character for the names of these tables.
std::string withoutLastCharacter(std::string text)
{
    while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80)
        text.pop_back();
    if (!text.empty())
        text.pop_back();
    return text;
}

} // namespace

const KeySlot& KeySelection::slot() const
{
    return CircleOfFifths::slots()[static_cast<std::size_t>(CircleOfFifths::wrappedIndex(index))];
}

const std::array<std::int64_t, 7>& KeySelection::degreeSemitones() const
{
    static const std::array<std::int64_t, 7> major{0, 2, 4, 5, 7, 9, 11};
    static const std::array<std::int64_t, 7> minor{0, 2, 3, 5, 7, 8, 10};
    return isMinor ? minor : major;
}

const std::array<TriadQuality, 7>& KeySelection::triadQualities() const
{
    constexpr TriadQuality M = TriadQuality::major, m = TriadQuality::minor, dim = TriadQuality::diminished;
    static const std::array<TriadQuality, 7> major{M, m, m, M, M, m, dim};
    static const std::array<TriadQuality, 7> minor{m, dim, M, m, m, M, M};
    return isMinor ? minor : major;
}

const std::array<std::string, 7>& KeySelection::chordSuffixes() const
{
    static const std::array<std::string, 7> major{"", "m", "m", "", "", "m", "°"};
    static const std::array<std::string, 7> minor{"m", "°", "", "m", "m", "", ""};
    return isMinor ? minor : major;
}

const std::array<std::string, 7>& KeySelection::romanNumerals() const
{
    static const std::array<std::string, 7> major{"I", "ii", "iii", "IV", "V", "vi", "vii°"};
    static const std::array<std::string, 7> minor{"i", "ii°", "III", "iv", "v", "VI", "VII"};
    return isMinor ? minor : major;
}

std::array<std::string, 7> KeySelection::scale() const
{
    std::array<std::string, 7> notes = slot().majorScale;
    // The relative minor starts on the sixth note of its major scale.
    if (isMinor)
        std::rotate(notes.begin(), notes.begin() + 5, notes.end());
    return notes;
}

std::array<std::string, 7> KeySelection::chords() const
{
    std::array<std::string, 7> names = scale();
    for (std::size_t d = 0; d < names.size(); ++d)
        names[d] += chordSuffixes()[d];
    return names;
}

std::string KeySelection::longName() const
{
    return isMinor ? withoutLastCharacter(slot().minor) + " minor" : slot().major + " major";
}

std::string KeySelection::name() const
{
    return isMinor ? slot().minor : slot().major;
}

std::string KeySelection::relative() const
{
    return isMinor ? slot().major : slot().minor;
}

std::string KeySelection::dominant() const
{
    return KeySelection{CircleOfFifths::wrappedIndex(index) + 1, isMinor}.name();
}

std::string KeySelection::subdominant() const
{
    return KeySelection{CircleOfFifths::wrappedIndex(index) + 11, isMinor}.name();
}

KeySelection::Triad KeySelection::triad(std::int64_t degree, double a4) const
{
    const std::size_t d = clampedDegree(degree);
    const std::int64_t tonic = (CircleOfFifths::wrappedIndex(index) * 7 + (isMinor ? 9 : 0)) % 12;
    const std::int64_t root = (tonic + degreeSemitones()[d]) % 12;
    // C3 is note 48: every root lies in the octave C3…B3, whatever the tonic.
    return {NoteFrequency::frequency(48 + root, a4), triadQualities()[d]};
}

std::size_t KeySelection::clampedDegree(std::int64_t degree)
{
    return static_cast<std::size_t>(std::clamp<std::int64_t>(degree, 0, 6));
}

const std::vector<ProgressionPreset>& progressionPresets(bool isMinor)
{
    static const std::vector<ProgressionPreset> major{
        {"I–V–vi–IV", {0, 4, 5, 3}},
        {"I–vi–IV–V", {0, 5, 3, 4}},
        {"ii–V–I", {1, 4, 0}},
        {"I–IV–vi–V", {0, 3, 5, 4}},
    };
    static const std::vector<ProgressionPreset> minor{
        {"i–VI–III–VII", {0, 5, 2, 6}},
        {"i–iv–v–i", {0, 3, 4, 0}},
        {"i–VII–VI–v", {0, 6, 5, 4}},
        {"ii°–v–i", {1, 4, 0}},
    };
    return isMinor ? minor : major;
}

} // namespace morvela
