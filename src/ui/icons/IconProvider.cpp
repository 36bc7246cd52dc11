#include "ui/icons/IconProvider.h"

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QQmlEngine>
#include <QSvgRenderer>
#include <QUrlQuery>

#include <algorithm>

namespace {

const QString kFolder = QStringLiteral(":/Morvela/ui/icons");
constexpr int kNaturalSize = 24;
// Far beyond any icon on screen; keeps a wild size in a URL from allocating gigabytes.
constexpr int kLargestSide = 1024;

QSize targetSize(const QSize& requested)
{
    // An icon is square: one given dimension sets both.
    const int w = requested.width() > 0 ? requested.width() : requested.height();
    const int h = requested.height() > 0 ? requested.height() : requested.width();
    if (w <= 0 || h <= 0)
        return QSize(kNaturalSize, kNaturalSize);
    return QSize(std::min(w, kLargestSide), std::min(h, kLargestSide));
}

// Lower-case words joined by single dots, e.g. "slider.horizontal.3".
bool isSymbolName(const QString& name)
{
    const auto wordChar = [](QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'); };
    if (name.isEmpty() || name.startsWith(u'.') || name.endsWith(u'.') || name.contains(QStringLiteral("..")))
        return false;
    return std::all_of(name.cbegin(), name.cend(), [&](QChar c) { return c == u'.' || wordChar(c); });
}

QColor tintFromQuery(const QString& query)
{
    // "#rrggbb" or "#aarrggbb", as Icon.qml writes it; black otherwise.
    const QColor color =
        QColor::fromString(QUrlQuery(query).queryItemValue(QStringLiteral("color"), QUrl::FullyDecoded));
    return color.isValid() ? color : QColor(Qt::black);
}

} // namespace

IconProvider::IconProvider() : QQuickImageProvider(QQuickImageProvider::Image) {}

QStringList IconProvider::names()
{
    QStringList result;
    const QFileInfoList files =
        QDir(kFolder).entryInfoList({QStringLiteral("*.svg")}, QDir::Files, QDir::Name);
    for (const QFileInfo& file : files)
        result.append(file.completeBaseName());
    return result;
}

QString IconProvider::svgPath(const QString& name)
{
    // Anything that is not a symbol name ("../", "/", ":") names no icon and never reaches the file system.
    if (!isSymbolName(name))
        return {};
    const QString path = kFolder + QLatin1Char('/') + name + QStringLiteral(".svg");
    return QFileInfo::exists(path) ? path : QString();
}

QImage IconProvider::requestImage(const QString& id, QSize* size, const QSize& requestedSize)
{
    const qsizetype queryStart = id.indexOf(QLatin1Char('?'));
    const QString name = id.left(queryStart);
    const QColor tint = tintFromQuery(queryStart < 0 ? QString() : id.mid(queryStart + 1));

    const QSize pixels = targetSize(requestedSize);
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (size)
        *size = QSize(kNaturalSize, kNaturalSize);

    const QString path = svgPath(name);
    if (path.isEmpty())
        return image;
    QSvgRenderer renderer(path);
    if (!renderer.isValid())
        return image;

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), pixels));
    // Keep the drawing's coverage, replace its colour.
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), tint);
    return image;
}

void registerIconProvider(QQmlEngine& engine)
{
    engine.addImageProvider(QStringLiteral("icon"), new IconProvider);
}
