// Any bytes as the window-state file and as the preference file: the application reads them as
// it does at start (selected tool, key selection, window placement, statistics switch), then
// writes as it does while running. Nothing read may leave its range or put the window off
// every screen, and a file the writer would not keep whole must survive as a copy.
#include "FuzzCheck.h"

#include "app/ToolCatalogue.h"
#include "app/WindowPlacement.h"
#include "platform/Preferences.h"
#include "platform/StateFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

const QSize kInitial(960, 720);
const QSize kMinimum(900, 680);
const QList<QRect> kScreens = {QRect(0, 28, 1920, 1052), QRect(1920, -200, 1280, 1024)};

std::unique_ptr<QTemporaryDir> g_home;

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The window's title strip lies on one of the screens, as WindowPlacement::placed() promises.
bool titleOnAScreen(const QRect& window)
{
    for (const QRect& screen : kScreens) {
        const QRect grip = QRect(window.x(), window.y(), window.width(), 32) & screen;
        if (grip.height() >= 16 && grip.width() >= std::min(160, window.width()))
            return true;
    }
    return false;
}

// What the application reads at start.
void readAsAtStart()
{
    const WindowState store;

    const QString toolId = store.value(QStringLiteral("selectedCalculatorTool"), QStringLiteral("bpm")).toString();
    const auto tool = morvela::ToolCatalogue::effectiveTool(toolId.toStdString());
    const auto& tools = morvela::ToolCatalogue::allCases();
    FUZZ_CHECK(std::find(tools.begin(), tools.end(), tool) != tools.end());

    if (const auto index = StateFiles::storedInteger(store.value(QStringLiteral("fifthsSelectedIndex")), 0, 11))
        FUZZ_CHECK(*index >= 0 && *index <= 11);
    (void)StateFiles::storedFlag(store.value(QStringLiteral("fifthsMinorSelected")));

    const WindowPlacement::Restored restored = WindowPlacement::restored(store, kInitial, kMinimum, kScreens);
    FUZZ_CHECK(restored.size.width() >= kMinimum.width() && restored.size.width() <= 32767);
    FUZZ_CHECK(restored.size.height() >= kMinimum.height() && restored.size.height() <= 32767);
    if (restored.geometry) {
        FUZZ_CHECK(restored.geometry->width() >= kMinimum.width() && restored.geometry->height() >= kMinimum.height());
        FUZZ_CHECK(titleOnAScreen(*restored.geometry));
    }

    (void)Preferences::statsOptOut();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    // Memory-backed where there is such a folder: every write ends in an fsync.
    const QString base = QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm")
                                                                             : QDir::tempPath();
    g_home = std::make_unique<QTemporaryDir>(base + QStringLiteral("/morvela-fuzz-XXXXXX"));
    FUZZ_CHECK(g_home->isValid());
    qputenv("XDG_STATE_HOME", QFile::encodeName(g_home->filePath(QStringLiteral("state"))));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(g_home->filePath(QStringLiteral("config"))));
    FUZZ_CHECK(QDir().mkpath(QFileInfo(StateFiles::windowStatePath()).absolutePath()));
    FUZZ_CHECK(QDir().mkpath(QFileInfo(StateFiles::preferencesPath()).absolutePath()));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString statePath = StateFiles::windowStatePath();
    const QString preferencesPath = StateFiles::preferencesPath();
    for (const QString& path : {statePath, preferencesPath}) {
        writeFile(path, bytes);
        QFile::remove(path + QStringLiteral(".unreadable"));
    }
    const bool clean = StateFiles::readsCleanly(statePath);

    readAsAtStart();

    // A write as the running application makes them: the window settles, the user opts out.
    {
        WindowState store;
        store.setValues({{QStringLiteral("window/x"), 100}, {QStringLiteral("window/y"), 80},
                         {QStringLiteral("window/width"), 960}, {QStringLiteral("window/height"), 720}});
        FUZZ_CHECK(store.saved());
        FUZZ_CHECK(store.value(QStringLiteral("window/width")).toInt() == 960);
    }
    Preferences::instance().setShareStatistics(false);
    FUZZ_CHECK(Preferences::statsOptOut());

    // What the writer could not keep whole is kept as it was, beside the rewritten file.
    if (!clean) {
        FUZZ_CHECK(readFile(statePath + QStringLiteral(".unreadable")) == bytes);
        FUZZ_CHECK(readFile(preferencesPath + QStringLiteral(".unreadable")) == bytes);
    }
    // And what it wrote reads back cleanly, with the values it wrote.
    FUZZ_CHECK(StateFiles::readsCleanly(statePath));
    readAsAtStart();
    return 0;
}
