#include "platform/StateFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringDecoder>

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
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    if (!info.isFile() || info.size() > kLargestStateFile)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return textReadsCleanly(file.readAll());
}

bool prepareToWrite(const QString& path)
{
    if (readsCleanly(path))
        return true;
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable())
        return false;
    for (int n = 1; n < 100; ++n) {
        const QString aside = path + QStringLiteral(".unreadable") +
                              (n == 1 ? QString() : QLatin1Char('-') + QString::number(n));
        if (QFileInfo::exists(aside) || QFileInfo(aside).isSymLink())
            continue;
        return QFile::copy(path, aside);
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
