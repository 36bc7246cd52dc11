// How long the Scale Steps table takes to follow a change of A4, the reference or N at up to 53
// divisions, and the Pitch screen's note table a change of A4, on the real screens in an offscreen
// window (run with QT_QPA_PLATFORM=offscreen).
// A change is timed from the write to the state through the next frame (the scale, the model,
// every delegate binding, layout and rendering); beside it, the baseline of the same run: a frame
// with nothing changed. Wall time (best and median of the rounds) shows what a busy machine
// gives; process CPU time (median) is what the change costs without the waits for a core.
#include "app/AppStartup.h"
#include "model/CalculatorState.h"
#include "support/PrivateHome.h"

#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQmlIncubationController>
#include <QQuickItem>
#include <QQuickWindow>
#include <QtQml/QQmlExtensionPlugin>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <vector>

Q_IMPORT_QML_PLUGIN(MorvelaPlugin)

namespace {

struct Instant {
    double wall, cpu; // milliseconds
};

Instant now()
{
    timespec cpu{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    const double wall =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    return {wall, static_cast<double>(cpu.tv_sec) * 1e3 + static_cast<double>(cpu.tv_nsec) / 1e6};
}

double best(std::vector<double> samples)
{
    return *std::min_element(samples.begin(), samples.end());
}

double median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

// Lets the rows built in the background finish.
void settle(QQmlEngine& engine)
{
    while (engine.incubationController() && engine.incubationController()->incubatingObjectCount() > 0)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

} // namespace

int main(int argc, char* argv[])
{
    const PrivateHome home; // the user's own state and preferences stay untouched
    QGuiApplication app(argc, argv);
    AppStartup::configureApplication(app);
    QQmlEngine engine;
    AppStartup::configureEngine(engine);

    CalculatorState state;
    QQmlComponent component(&engine);
    component.setData("import Morvela\nTemperamentView { width: 732; height: 720 }", QUrl());
    QQuickWindow window;
    window.resize(732, 720);
    // As in the app, whose window comes from QML: Loaders marked asynchronous incubate between frames.
    engine.setIncubationController(window.incubationController());
    // A screen on the state, shown through its first frame and its background rows.
    const auto show = [&](QQmlComponent& screen) {
        auto* item = qobject_cast<QQuickItem*>(
            screen.createWithInitialProperties({{"calculator", QVariant::fromValue(&state)}}));
        if (!item) {
            std::fprintf(stderr, "%s\n", qPrintable(screen.errorString()));
            std::exit(1);
        }
        item->setParentItem(window.contentItem());
        window.show();
        window.grabWindow();
        settle(engine);
        return item;
    };
    QQuickItem* view = show(component);

    constexpr int rounds = 31;
    auto measure = [&](const char* name, const std::function<void(int)>& prepare,
                       const std::function<void(int)>& change) {
        std::vector<double> wall, cpu, baseWall, baseCpu;
        for (int round = 0; round < rounds; ++round) {
            prepare(round);
            window.grabWindow();
            Instant start = now();
            window.grabWindow();
            Instant end = now();
            baseWall.push_back(end.wall - start.wall);
            baseCpu.push_back(end.cpu - start.cpu);
            start = now();
            change(round);
            window.grabWindow();
            end = now();
            wall.push_back(end.wall - start.wall);
            cpu.push_back(end.cpu - start.cpu);
        }
        std::printf(
            "%-28s wall %6.2f / %6.2f   cpu %6.2f   | unchanged frame: wall %5.2f / %5.2f   cpu %5.2f   %s\n",
            name, best(wall), median(wall), median(cpu), best(baseWall), median(baseWall), median(baseCpu),
            median(cpu) < 16.0 ? "cpu < 16 ms" : "cpu >= 16 ms: MISSED");
    };

    std::printf("change + next frame, ms: wall best / median, cpu median (%d rounds)\n", rounds);
    measure(
        "A4 change at N = 53", [&](int) { state.setTetDivisions(53); },
        [&](int round) { state.setA4(round % 2 ? 440.0 : 432.0); });
    measure(
        "reference change at N = 53", [&](int) { state.setTetDivisions(53); },
        [&](int round) { state.setTetReference(round % 2 ? 440.0 : 261.63); });
    measure(
        "N 52 -> 53", [&](int) { state.setTetDivisions(52); }, [&](int) { state.setTetDivisions(53); });
    measure(
        "N 53 -> 52", [&](int) { state.setTetDivisions(53); }, [&](int) { state.setTetDivisions(52); });
    measure(
        "N 12 -> 53 (41 rows shown)", [&](int) { state.setTetDivisions(12); },
        [&](int) { state.setTetDivisions(53); });
    measure(
        "N 53 -> 12", [&](int) { state.setTetDivisions(53); }, [&](int) { state.setTetDivisions(12); });
    delete view;

    // Opening the screen: the view created and shown through its first frame, at N = 12.
    std::vector<double> openWall, openCpu;
    state.setTetDivisions(12);
    for (int round = 0; round < 11; ++round) {
        const Instant start = now();
        auto* opened = qobject_cast<QQuickItem*>(
            component.createWithInitialProperties({{"calculator", QVariant::fromValue(&state)}}));
        opened->setParentItem(window.contentItem());
        window.grabWindow();
        const Instant end = now();
        openWall.push_back(end.wall - start.wall);
        openCpu.push_back(end.cpu - start.cpu);
        settle(engine);
        delete opened;
    }
    std::printf("%-28s wall %6.2f / %6.2f   cpu %6.2f\n", "screen open at N = 12", best(openWall),
                median(openWall), median(openCpu));

    // The Pitch screen's note table (12 notes by 9 octaves) following an A4 change.
    QQmlComponent pitchComponent(&engine);
    pitchComponent.setData("import Morvela\nNoteFrequencyView { width: 732; height: 720 }", QUrl());
    view = show(pitchComponent);
    measure(
        "Pitch table: A4 change", [&](int) {}, [&](int round) { state.setA4(round % 2 ? 440.0 : 432.0); });
    delete view;
    return 0;
}
