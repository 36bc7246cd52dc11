#include "audio/ChordPlayer.h"

#include "audio/AudioOutput.h"
#include "audio/RtAudioOutput.h"
#include "audio/VoiceMixer.h"
#include "platform/Services.h"

using namespace morvela;

ChordPlayer& ChordPlayer::shared()
{
    static ChordPlayer* const player = [] {
        auto* mixer = new VoiceMixer;
        auto* output = new RtAudioOutput(*mixer);
        return new ChordPlayer(*output, *mixer);
    }();
    return *player;
}

ChordPlayer::ChordPlayer(AudioOutput& output, VoiceMixer& mixer) : m_output(output), m_mixer(mixer) {}

ChordPlayer::~ChordPlayer() = default;

void ChordPlayer::playTriad(double rootHz, TriadQuality quality, Instant at)
{
    const auto notes = triadFrequencies(rootHz, quality);
    schedule(makeBuffer({notes.begin(), notes.end()}), at);
}

void ChordPlayer::playTone(double hz, Instant at)
{
    playPartials({{hz, 1.0f}}, at);
}

void ChordPlayer::playPartials(const std::vector<Partial>& partials, Instant at)
{
    if (partials.empty())
        return;
    schedule(makePartialsBuffer(partials), at);
}

void ChordPlayer::playTick(double frequency, float gain, Instant at)
{
    schedule(makeTickBuffer(frequency, gain), at);
}

void ChordPlayer::schedule(std::vector<float> samples, Instant at)
{
    if (!m_output.isRunning()) {
        // A new stream starts a new timeline in the mixer; harmless if the start fails.
        m_mixer.restart();
        if (!m_output.start())
            return;
    }
    // A sound the mixer cannot take (its callback has stalled) is dropped and takes no voice.
    if (!m_mixer.play(m_nextVoice, std::move(samples), at))
        return;
    m_nextVoice = (m_nextVoice + 1) % VoiceMixer::kVoices;

    if (!m_idlePause)
        m_idlePause = Services::timers().makeDelayedAction();
    m_idlePause->arm(kIdlePause, [this] {
        if (m_output.isRunning())
            m_output.pause();
        m_mixer.collectFinished();
    });
}
