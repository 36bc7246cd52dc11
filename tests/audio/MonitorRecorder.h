#pragma once

#include <QProcessEnvironment>

#include <atomic>
#include <sys/types.h>
#include <thread>
#include <vector>

// Records the null sink's monitor with parecord (raw 32-bit float stereo at 44,100 Hz, 2 ms
// fragments). A thread of its own reads the pipe, so that each chunk carries the steady-clock
// instant it arrived: this ties the recording to the instants at which sounds were requested.
class MonitorRecorder {
public:
    struct Chunk {
        double arrival; // FrameClock::now() when it was read
        std::size_t endFrame;
    };

    explicit MonitorRecorder(const QProcessEnvironment& environment);
    ~MonitorRecorder();
    MonitorRecorder(const MonitorRecorder&) = delete;
    MonitorRecorder& operator=(const MonitorRecorder&) = delete;

    bool start();
    // Ends the recording; the fields below are complete afterwards.
    void stop();

    std::vector<float> left;
    std::vector<float> right;
    std::vector<Chunk> chunks;

private:
    void read();

    QProcessEnvironment m_environment;
    pid_t m_pid = -1;
    int m_pipe = -1;
    std::thread m_reader;
};
