#include "platform/StateFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringDecoder>

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace {

const QString kFolder = QStringLiteral("morvela-calculator");
int g_writeCount = 0;
// Window-state values that could not be written; they still count for this run.
QVariantMap g_unsaved;

// Far larger than anything this application writes; a bigger file is not one of ours.
constexpr qint64 kLargestStateFile = 1 << 20;

// One line of an ini file as the reader takes it without guessing: blank, a comment, a
// [section], or key=value whose quotes are balanced and which does not run on to the next line.
bool lineReadsCleanly(QStringView line)
{
    line = line.trimmed();
    if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
        return true;
    if (line.startsWith(u'['))
        return line.endsWith(u']') && line.count(u'[') == 1 && line.count(u']') == 1;
    // (The writer itself writes an empty key as "=value".)
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
        return false;
    const QStringView value = line.sliced(equals + 1);
    bool quoted = false;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'\\') {
            if (++i == value.size())
                return false;
        } else if (value[i] == u'"') {
            quoted = !quoted;
        }
    }
    return !quoted;
}

// A hex or octal escape ("\\x…", "\\0…") at `at`, as the ini reader takes it: every digit that
// follows, its character the low 16 bits of their value. Returns that character and moves `at`
// past the escape; -1, leaving `at` alone, for anything else.
int numericEscape(QByteArrayView bytes, qsizetype& at)
{
    const auto digit = [](char c, int base) {
        const int value = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : base;
        return value < base ? value : -1;
    };
    if (at + 1 >= bytes.size() || bytes[at] != '\\')
        return -1;
    const char kind = bytes[at + 1];
    const int base = kind == 'x' || kind == 'X' ? 16 : 8;
    if (base == 8 && digit(kind, 8) < 0)
        return -1;
    qsizetype i = base == 16 ? at + 2 : at + 1;
    std::uint32_t value = 0;
    for (; i < bytes.size() && digit(bytes[i], base) >= 0; ++i)
        value = value * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(digit(bytes[i], base));
    at = i;
    return static_cast<int>(value & 0xffff);
}

// Whether the text from `at` on, just after an "@", reads as "Variant(" or "DateTime(": quotes and
// line continuations fall away in the reader, and letters may be spelt as escapes.
bool continuesSerialisedValue(QByteArrayView bytes, qsizetype at)
{
    for (const std::string_view word : {std::string_view("Variant("), std::string_view("DateTime(")}) {
        qsizetype i = at;
        std::size_t matched = 0;
        while (matched < word.size() && i < bytes.size()) {
            const int escaped = numericEscape(bytes, i);
            if (escaped >= 0) {
                if (escaped != word[matched])
                    break;
                ++matched;
            } else if (bytes[i] == '"') {
                ++i;
            } else if (bytes[i] == '\\' && i + 1 < bytes.size() &&
                       (bytes[i + 1] == '\n' || bytes[i + 1] == '\r')) {
                i += 2;
                while (i < bytes.size() && (bytes[i] == '\n' || bytes[i] == '\r'))
                    ++i;
            } else if (bytes[i] == '\\' && i + 1 < bytes.size()) {
                // Any other escape: taken as the letter it names, else as nothing.
                matched += bytes[i + 1] == word[matched] ? 1 : 0;
                i += 2;
            } else if (bytes[i] == word[matched]) {
                ++matched;
                ++i;
            } else {
                break;
            }
        }
        if (matched == word.size())
            return true;
    }
    return false;
}

// Whether the ini reader can take the text without decoding a serialised value. It hands a
// "@Variant(…)" or "@DateTime(…)" value to QDataStream, which trusts the counts inside: a corrupt
// one makes it reserve gigabytes at once (whatever types are registered may be decoded, too).
// The writer never writes one for the values this application stores, nor spells an "@" as an
// escape; other "@" forms ("@@", "@String(…)", "@Rect(…)") the reader takes as they are.
bool holdsNoSerialisedValue(QByteArrayView bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '@') {
            if (i + 1 < bytes.size() && bytes[i + 1] == '@')
                ++i; // a text that starts with "@"
            else if (continuesSerialisedValue(bytes, i + 1))
                return false;
        } else if (bytes[i] == '\\') {
            // (An "@" after a lone backslash is taken as one too.)
            qsizetype end = i;
            int character = numericEscape(bytes, end);
            if (character < 0 && i + 1 < bytes.size()) {
                character = static_cast<unsigned char>(bytes[i + 1]);
                end = i + 2;
            }
            if (character == '@' && continuesSerialisedValue(bytes, end))
                return false;
            i = std::max(i, end - 1);
        }
    }
    return true;
}

enum class Content { clean, unclean, unsafe, unreadable };

bool textReadsCleanly(const QByteArray& bytes)
{
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 && c != '\t' && c != '\n' && c != '\r')
            return false;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return false;
    const auto lines = QStringView(text).split(u'\n');
    for (QStringView line : lines) {
        if (!lineReadsCleanly(line))
            return false;
    }
    return true;
}

// What is at `path`, as far as the ini reader and writer are concerned (a missing file is clean).
Content contentAt(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return Content::clean;
    if (!info.isFile())
        return Content::unreadable;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Content::unreadable;
    if (info.size() > kLargestStateFile)
        return Content::unsafe;
    const QByteArray bytes = file.readAll();
    if (!holdsNoSerialisedValue(bytes))
        return Content::unsafe;
    return textReadsCleanly(bytes) ? Content::clean : Content::unclean;
}

QString xdgHome(const char* variable, const QString& fallbackBelowHome)
{
    const QString value = qEnvironmentVariable(variable);
    // The base-directory rules ignore relative paths.
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return value;
    return QDir::homePath() + QLatin1Char('/') + fallbackBelowHome;
}

} // namespace

namespace StateFiles {

QString windowStatePath()
{
    return xdgHome("XDG_STATE_HOME", QStringLiteral(".local/state")) + QLatin1Char('/') + kFolder +
           QStringLiteral("/window-state.ini");
}

QString preferencesPath()
{
    return xdgHome("XDG_CONFIG_HOME", QStringLiteral(".config")) + QLatin1Char('/') + kFolder +
           QStringLiteral("/preferences.ini");
}

bool readsCleanly(const QString& path)
{
    return contentAt(path) == Content::clean;
}

bool readsSafely(const QString& path)
{
    const Content content = contentAt(path);
    return content == Content::clean || content == Content::unclean;
}

bool prepareToWrite(const QString& path)
{
    const Content content = contentAt(path);
    if (content == Content::clean)
        return true;
    if (content == Content::unreadable)
        return false;
    for (int n = 1; n < 100; ++n) {
        const QString aside = path + QStringLiteral(".unreadable") +
                              (n == 1 ? QString() : QLatin1Char('-') + QString::number(n));
        if (QFileInfo::exists(aside) || QFileInfo(aside).isSymLink())
            continue;
        // The writer reads the file it writes over: one it must not read goes aside whole.
        return content == Content::unsafe ? QFile::rename(path, aside) : QFile::copy(path, aside);
    }
    return false;
}

std::optional<qint64> storedInteger(const QVariant& value, qint64 minimum, qint64 maximum)
{
    bool ok = false;
    qint64 number = 0;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::QString:
        // (The conversion would stop at a NUL and take what came before it.)
        if (!value.toString().contains(QChar(0)))
            number = value.toLongLong(&ok);
        break;
    default:
        break;
    }
    if (!ok || number < minimum || number > maximum)
        return std::nullopt;
    return number;
}

std::optional<bool> storedFlag(const QVariant& value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (value.typeId() == QMetaType::QString) {
        if (value.toString() == QLatin1String("true"))
            return true;
        if (value.toString() == QLatin1String("false"))
            return false;
    }
    return std::nullopt;
}

} // namespace StateFiles

WindowState::WindowState(QObject* parent)
    : QObject(parent),
      m_settings(std::make_unique<QSettings>(StateFiles::windowStatePath(), QSettings::IniFormat))
{
}

QVariant WindowState::value(const QString& key, const QVariant& fallback) const
{
    const auto unsaved = g_unsaved.constFind(key);
    if (unsaved != g_unsaved.constEnd())
        return *unsaved;
    if (!StateFiles::readsSafely(m_settings->fileName()))
        return fallback;
    return m_settings->value(key, fallback);
}

void WindowState::setValue(const QString& key, const QVariant& value)
{
    setValues({{key, value}});
}

void WindowState::setValues(const QVariantMap& values)
{
    ++g_writeCount;
    // A file that would lose something when written over is copied aside first; one that
    // cannot even be read is left alone, and the values live on in memory only.
    if (StateFiles::prepareToWrite(m_settings->fileName())) {
        // A settings object of its own per write: status() keeps the first error it met.
        // (Objects on one file share what they read and write.) A format error means the file
        // was copied aside above and then written anew.
        QSettings settings(m_settings->fileName(), QSettings::IniFormat);
        for (auto it = values.begin(); it != values.end(); ++it)
            settings.setValue(it.key(), it.value());
        settings.sync();
        m_saved = settings.status() != QSettings::AccessError;
    } else {
        m_saved = false;
    }
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (m_saved)
            g_unsaved.remove(it.key());
        else
            g_unsaved.insert(it.key(), it.value());
    }
}

int WindowState::writeCount()
{
    return g_writeCount;
}
