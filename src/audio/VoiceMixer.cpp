#include "audio/VoiceMixer.h"

#include "audio/SynthBuffers.h"

#include <algorithm>
#include <cmath>

namespace morvela {

namespace {

bool isNewer(std::uint32_t generation, std::uint32_t than)
{
    return static_cast<std::int32_t>(generation - than) > 0;
}

} // namespace

VoiceMixer::VoiceMixer() : m_clock(kAudioSampleRate) {}

// Runs when no callback can run any more, so it may empty both queues itself.
VoiceMixer::~VoiceMixer()
{
    Sound* sound = nullptr;
    while (m_incoming.pop(sound))
        delete sound;
    for (Voice& voice : m_voices) {
        delete voice.playing;
        delete voice.next;
    }
    while (m_finished.pop(sound))
        delete sound;
}

bool VoiceMixer::play(int voice, std::vector<float> samples, std::optional<double> requestedAt)
{
    collectFinished();
    if (voice < 0 || voice >= kVoices || m_inUse >= m_finished.capacity())
        return false;
    auto* sound = new Sound{std::move(samples), requestedAt, voice, m_playGeneration};
    if (!m_incoming.push(sound)) {
        delete sound;
        return false;
    }
    ++m_inUse;
    return true;
}

void VoiceMixer::restart()
{
    m_playGeneration = m_generation.fetch_add(1, std::memory_order_release) + 1;
}

void VoiceMixer::collectFinished()
{
    Sound* sound = nullptr;
    while (m_finished.pop(sound)) {
        delete sound;
        --m_inUse;
    }
}

void VoiceMixer::render(float* interleavedStereo, std::size_t frames, double now)
{
    const std::uint32_t generation = m_generation.load(std::memory_order_acquire);
    if (generation != m_renderGeneration)
        beginTimeline(generation);
    m_clock.observe(m_frame, now);
    m_startLatency = std::max(m_startLatency, static_cast<double>(frames) / kAudioSampleRate + kStartMargin);

    Sound* sound = nullptr;
    while (m_incoming.pop(sound)) {
        if (sound->generation != m_renderGeneration) {
            if (!isNewer(sound->generation, m_renderGeneration)) {
                release(sound); // queued for a stream that has ended
                continue;
            }
            // Queued after a restart that was announced after the check above.
            beginTimeline(sound->generation);
            m_clock.observe(m_frame, now);
        }
        Voice& voice = m_voices[static_cast<std::size_t>(sound->voice)];
        release(voice.next);
        voice.next = sound;
    }

    for (std::size_t done = 0; done < frames;) {
        const std::size_t count = std::min(frames - done, kChunk);
        mixChunk(count);
        float* out = interleavedStereo + 2 * done;
        for (std::size_t i = 0; i < count; ++i) {
            const float sample = m_mix[i] * kVolume;
            out[2 * i] = sample;
            out[2 * i + 1] = sample;
        }
        done += count;
        m_frame += static_cast<std::int64_t>(count);
    }
}

void VoiceMixer::beginTimeline(std::uint32_t generation)
{
    for (Voice& voice : m_voices) {
        release(voice.playing);
        release(voice.next);
        voice = Voice{};
    }
    m_clock.reset();
    m_frame = 0;
    m_startLatency = kStartLatency;
    m_renderGeneration = generation;
}

void VoiceMixer::mixChunk(std::size_t frames)
{
    std::fill_n(m_mix.begin(), frames, 0.0f);
    for (Voice& voice : m_voices)
        mixVoice(voice, frames);
}

void VoiceMixer::mixVoice(Voice& voice, std::size_t frames)
{
    std::size_t from = 0;
    if (voice.next) {
        const std::int64_t start = startFrame(*voice.next);
        if (start < m_frame + static_cast<std::int64_t>(frames)) {
            // The voice is stopped at the new sound's first frame, then plays it.
            const auto at = static_cast<std::size_t>(start - m_frame);
            addPlaying(voice, 0, at);
            release(voice.playing);
            voice.playing = voice.next;
            voice.position = 0;
            voice.next = nullptr;
            from = at;
        }
    }
    addPlaying(voice, from, frames);
}

void VoiceMixer::addPlaying(Voice& voice, std::size_t from, std::size_t to)
{
    if (!voice.playing || from >= to)
        return;
    const std::vector<float>& samples = voice.playing->samples;
    const std::size_t count = std::min(to - from, samples.size() - voice.position);
    const float* source = samples.data() + voice.position;
    for (std::size_t i = 0; i < count; ++i)
        m_mix[from + i] += source[i];
    voice.position += count;
    if (voice.position == samples.size()) {
        release(voice.playing);
        voice.playing = nullptr;
    }
}

std::int64_t VoiceMixer::startFrame(const Sound& sound) const
{
    if (!sound.requestedAt)
        return m_frame;
    const double target = std::floor(m_clock.frameAt(*sound.requestedAt + m_startLatency) + 0.5);
    // Too late (or not a number): at once. Never more than a second ahead, whatever the instant.
    if (!(target > static_cast<double>(m_frame)))
        return m_frame;
    return static_cast<std::int64_t>(std::min(target, static_cast<double>(m_frame) + kAudioSampleRate));
}

void VoiceMixer::release(Sound* sound)
{
    // Cannot fail: play() keeps fewer sounds in use than this queue holds.
    if (sound)
        m_finished.push(sound);
}

} // namespace morvela
