// Typed text, as a user may type or paste it, through the number parser and the three text
// commits: whatever the text, a commit gives a finite value within its control's range, or
// keeps the value it had.
#include "FuzzCheck.h"

#include "common/NumberText.h"
#include "tools/pitch/NoteFrequency.h"
#include "tools/temperament/TetScale.h"
#include "tools/tempo/Tempo.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

using namespace morvela;

namespace {

bool within(double value, double minimum, double maximum)
{
    return std::isfinite(value) && value >= minimum && value <= maximum;
}

// A commit either takes the typed number, limited to [minimum, maximum], or keeps `previous`.
template <typename Commit>
void checkCommit(Commit commit, std::string_view text, double minimum, double maximum)
{
    const std::optional<double> typed = parseTypedNumber(text);
    for (const double previous : {minimum, (minimum + maximum) / 2, maximum}) {
        const double committed = commit(text, previous);
        FUZZ_CHECK(within(committed, minimum, maximum));
        if (typed)
            FUZZ_CHECK(committed == std::clamp(*typed, minimum, maximum));
        else
            FUZZ_CHECK(committed == previous);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const std::optional<double> typed = parseTypedNumber(text);
    if (typed) {
        FUZZ_CHECK(std::isfinite(*typed));
        FUZZ_CHECK(!text.empty() && text.front() != ' ' && text.front() != '\t' && text.front() != '\n');
        // A comma and a point are the same decimal separator.
        std::string points(text);
        std::replace(points.begin(), points.end(), ',', '.');
        const std::optional<double> again = parseTypedNumber(points);
        FUZZ_CHECK(again && std::memcmp(&*again, &*typed, sizeof(double)) == 0);
        // What formatFixed writes reads back as the same number, to the decimals it kept.
        for (const int decimals : {0, 1, 2, 3, 17}) {
            const std::string written = formatFixed(*typed, decimals);
            const std::optional<double> back = parseTypedNumber(written);
            FUZZ_CHECK(back.has_value());
            const double tolerance = 0.5 * std::pow(10.0, -decimals) + std::abs(*typed) * 1e-15;
            FUZZ_CHECK(std::abs(*back - *typed) <= tolerance);
        }
    }

    checkCommit(Tempo::commitBpmText, text, Tempo::typedMinimum, Tempo::typedMaximum);
    checkCommit(NoteFrequency::commitA4Text, text, NoteFrequency::a4Minimum, NoteFrequency::a4Maximum);
    checkCommit(commitReferenceText, text, tetReferenceMinimum, tetReferenceMaximum);

    // The stepper beside the reference field steps from the text as committed.
    for (const double reference : {tetReferenceMinimum, 440.0, tetReferenceMaximum}) {
        for (const int steps : {-1000, -1, 1, 1000})
            FUZZ_CHECK(within(steppedReference(text, reference, steps), tetReferenceMinimum, tetReferenceMaximum));
    }

    // What a field shows for a committed value commits back within range.
    const double bpm = Tempo::commitBpmText(text, 120.0);
    FUZZ_CHECK(within(Tempo::commitBpmText(Tempo::bpmText(bpm), bpm), Tempo::typedMinimum, Tempo::typedMaximum));
    const double a4 = NoteFrequency::commitA4Text(text, 440.0);
    FUZZ_CHECK(within(NoteFrequency::commitA4Text(NoteFrequency::a4Text(a4), a4), NoteFrequency::a4Minimum,
                      NoteFrequency::a4Maximum));
    const double reference = commitReferenceText(text, 261.63);
    FUZZ_CHECK(within(commitReferenceText(referenceText(reference), reference), tetReferenceMinimum,
                      tetReferenceMaximum));
    return 0;
}
