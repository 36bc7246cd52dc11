#pragma once

#include "audio/SynthBuffers.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace morvela {

// One position of the circle of fifths: a major key and its relative minor, spelled.
struct KeySlot {
    std::string major;
    std::string minor;        // always ends in "m"
    std::int64_t accidentals; // sharps positive, flats negative
    std::array<std::string, 7> majorScale;
};

// The twelve keys in circle order (index 0 is C at the top, each next one a fifth higher) and
// the key-signature texts.
namespace CircleOfFifths {

// Qt defines `slots` as a macro for its own headers; the name is kept clear of it here.
#pragma push_macro("slots")
#undef slots
const std::array<KeySlot, 12>& slots();
#pragma pop_macro("slots")
const std::array<std::string, 7>& sharpOrder();
const std::array<std::string, 7>& flatOrder();

// "0", "3♯", "5♭".
std::string signatureText(std::int64_t accidentals);
// The sharps or flats of the signature in their order, at most seven.
std::vector<std::string> signatureNotes(std::int64_t accidentals);

// Any integer as a position on the circle: 12 is 0 again, -1 is 11.
std::int64_t wrappedIndex(std::int64_t index);

} // namespace CircleOfFifths

// The selected key: the major key of a slot, or its relative minor. Every derived list has one
// entry per scale degree 0…6. An index outside 0…11 is read wrapped onto the circle and a degree
// outside 0…6 as the nearest degree, so a corrupted value never reads out of bounds.
struct KeySelection {
    std::int64_t index = 0;
    bool isMinor = false;

    bool operator==(const KeySelection&) const = default;

    struct Triad {
        double rootHz;
        TriadQuality quality;
    };

    const KeySlot& slot() const;
    const std::array<std::int64_t, 7>& degreeSemitones() const;
    const std::array<TriadQuality, 7>& triadQualities() const;
    const std::array<std::string, 7>& chordSuffixes() const;
    const std::array<std::string, 7>& romanNumerals() const;
    std::array<std::string, 7> scale() const;
    std::array<std::string, 7> chords() const;
    // "F♯ major", "B♭ minor".
    std::string longName() const;
    // The key's own name as the wheel shows it: "F♯" or "D♯m".
    std::string name() const;

    // The neighbouring keys, named in this selection's mode (the relative in the other one).
    std::string relative() const;
    std::string dominant() const;
    std::string subdominant() const;

    // The sounding triad of a degree: its root folded into C3…B3 against `a4`.
    Triad triad(std::int64_t degree, double a4) const;

    static std::size_t clampedDegree(std::int64_t degree);
};

struct ProgressionPreset {
    std::string name;
    std::vector<std::int64_t> degrees;
};

// The progression presets offered for a major or a minor key.
const std::vector<ProgressionPreset>& progressionPresets(bool isMinor);

} // namespace morvela
