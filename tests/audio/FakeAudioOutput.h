#pragma once

#include "audio/AudioOutput.h"

// An output whose start succeeds or fails as the test says; it counts what it was asked.
class FakeAudioOutput final : public AudioOutput {
public:
    bool start() override
    {
        ++starts;
        running = startSucceeds;
        return running;
    }
    bool isRunning() const override { return running; }
    void pause() override
    {
        ++pauses;
        running = false;
    }

    bool startSucceeds = true;
    bool running = false;
    int starts = 0;
    int pauses = 0;
};
