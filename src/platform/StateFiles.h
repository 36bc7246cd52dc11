#pragma once

#include <QObject>
#include <QSettings>
#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

#include <memory>
#include <optional>

// Where the application keeps what it remembers, following the XDG base directories.
namespace StateFiles {
// $XDG_STATE_HOME/morvela-calculator/window-state.ini (default ~/.local/state)
QString windowStatePath();
// $XDG_CONFIG_HOME/morvela-calculator/preferences.ini (default ~/.config)
QString preferencesPath();

// Whether the ini file at `path` can be written over without losing anything the user had in
// it. The ini writer rewrites a file whole from what its reader understood, so a file it does
// not take as it is (bytes that are not UTF-8 text, a line that is neither blank, a comment, a
// [section] nor key=value, a syntax error, a serialised value) would lose its unread part. Such a
// file is copied aside first (moved, when it does not read safely), to "<path>.unreadable" (or
// "<path>.unreadable-2", ...), and true is returned.
// A file that is there but cannot be read (no permission, a folder in its place) cannot be
// copied: false, and the caller leaves it alone. A missing file is fine to write.
bool prepareToWrite(const QString& path);

// Whether `path` holds text the ini reader takes as it is (a missing file does).
bool readsCleanly(const QString& path);
// Whether the ini reader may read `path` at all: not when it holds a serialised value ("@Variant(…)"
// and the like, which the reader decodes trusting the counts inside, so that a corrupt one makes
// it reserve gigabytes) or more than a megabyte, nor when it cannot be read. The application's own files
// never hold either. Readers then take their defaults, and prepareToWrite() moves such a file
// aside instead of copying it, so that the writer, which reads what it writes over, never sees it.
bool readsSafely(const QString& path);

// A stored whole number within [minimum, maximum]: an integer, or text holding only one (as
// the ini file holds them). Anything else, a boolean or a number out of range included, is
// nullopt.
std::optional<qint64> storedInteger(const QVariant& value, qint64 minimum, qint64 maximum);
// A stored flag: a boolean, or the text "true" or "false" the ini file holds it as. (QVariant
// itself would read any other non-empty text as true.)
std::optional<bool> storedFlag(const QVariant& value);
} // namespace StateFiles

// The main window's restorable values (selected tool, key selection, geometry). Every write
// goes to disk at once, so a crash loses nothing; callers decide how often to write.
class WindowState : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    explicit WindowState(QObject* parent = nullptr);

    Q_INVOKABLE QVariant value(const QString& key, const QVariant& fallback = {}) const;
    Q_INVOKABLE void setValue(const QString& key, const QVariant& value);
    // Several values in one write. When the file cannot be written (a read-only folder, a
    // full disk, a file in the way that cannot be read), the values still count for this run
    // and saved() turns false.
    void setValues(const QVariantMap& values);
    // Whether the last write reached the disk.
    bool saved() const { return m_saved; }

    // How many times this process has written the file.
    static int writeCount();

private:
    std::unique_ptr<QSettings> m_settings;
    bool m_saved = true;
};
