#include "audio/SoundOutput.h"

#include "audio/ChordPlayer.h"

namespace {

SoundOutput* g_output = nullptr;

} // namespace

namespace Sound {

SoundOutput& output()
{
    return g_output ? *g_output : ChordPlayer::shared();
}

void setOutput(SoundOutput* output)
{
    g_output = output;
}

} // namespace Sound
