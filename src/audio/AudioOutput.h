#pragma once

// The device the voice mixer plays through, as the chord player sees it.
class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    // Starts the output, opening the device if needed; false when there is none to play on.
    virtual bool start() = 0;
    virtual bool isRunning() const = 0;
    // Stops the output until the next start().
    virtual void pause() = 0;
};
