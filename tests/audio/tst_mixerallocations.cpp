#include "audio/FrameClock.h"
#include "audio/VoiceMixer.h"

#include <QtTest>

#include <atomic>

// Replacements of the C library's allocator functions under operator new and delete (aligned
// ones included) and so under std::vector; while a thread is marked, they count what it does.
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* pointer);
}

namespace {

thread_local bool t_counting = false;
std::atomic<int> g_allocatorCalls{0};
std::vector<float>* volatile g_kept = nullptr;

void count()
{
    if (t_counting)
        ++g_allocatorCalls;
}

} // namespace

extern "C" {

void* malloc(std::size_t size)
{
    count();
    return __libc_malloc(size);
}

void* aligned_alloc(std::size_t alignment, std::size_t size)
{
    count();
    return __libc_memalign(alignment, size);
}

void free(void* pointer)
{
    if (pointer)
        count();
    __libc_free(pointer);
}

} // extern "C"

using namespace morvela;

class TestMixerAllocations : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void callbackNeitherAllocatesNorFrees()
    {
        // The counter does see the allocations a callback might make.
        t_counting = true;
        g_kept = new std::vector<float>(100);
        delete g_kept;
        t_counting = false;
        QCOMPARE(g_allocatorCalls.exchange(0), 4);

        VoiceMixer mixer;
        float buffer[2 * 1500];
        double now = FrameClock::now();
        // Sounds that wait, start, cut each other, run out, arrive late or belong to an ended
        // stream; callbacks of several sizes, one larger than the mixer's chunk.
        for (int round = 0; round < 400; ++round) {
            const double requested = round % 7 == 0 ? now - 0.05 : now;
            mixer.play(round % VoiceMixer::kVoices, std::vector<float>(200 + (round * 373) % 5000, 0.1f),
                       requested);
            if (round % 97 == 96)
                mixer.restart();
            t_counting = true;
            mixer.render(buffer, round % 3 == 0 ? 256 : (round % 3 == 1 ? 1500 : 77), FrameClock::now());
            t_counting = false;
            now += 0.003;
        }
        QCOMPARE(g_allocatorCalls.load(), 0);
    }
};

QTEST_APPLESS_MAIN(TestMixerAllocations)
#include "tst_mixerallocations.moc"
