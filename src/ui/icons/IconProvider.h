#pragma once

#include <QQuickImageProvider>
#include <QStringList>

class QQmlEngine;

// Draws the application's monochrome icons, tinted, at the size asked for:
//   image://icon/<symbol name>?color=<colour, e.g. %23eba33d>
// Qt already multiplies an Image's sourceSize by the window's device pixel ratio before it asks,
// so the requested size is in device pixels. An unknown name gives a transparent image.
class IconProvider : public QQuickImageProvider {
public:
    IconProvider();

    QImage requestImage(const QString& id, QSize* size, const QSize& requestedSize) override;

    // The symbol names that have an icon, read from the resource folder.
    static QStringList names();
    // Resource path of a symbol's SVG; empty when there is no such icon.
    static QString svgPath(const QString& name);
};

// Registers the provider under the id "icon".
void registerIconProvider(QQmlEngine& engine);
