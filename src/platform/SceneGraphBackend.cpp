#include "platform/SceneGraphBackend.h"

#include <QGuiApplication>
#include <QQuickWindow>
#include <QSGRendererInterface>

#include <xcb/xcb.h>

#include <array>
#include <cstdlib>
#include <cstring>

namespace SceneGraphBackend {

namespace {
constexpr std::array<const char*, 3> kGpuExtensions{"DRI3", "DRI2", "NV-GLX"};

// The GPU extensions the X server offers: all three asked at once, one round trip.
QStringList offeredGpuExtensions(xcb_connection_t* connection)
{
    std::array<xcb_query_extension_cookie_t, kGpuExtensions.size()> cookies{};
    for (std::size_t i = 0; i < kGpuExtensions.size(); ++i)
        cookies[i] = xcb_query_extension(connection, static_cast<std::uint16_t>(std::strlen(kGpuExtensions[i])),
                                         kGpuExtensions[i]);
    QStringList offered;
    for (std::size_t i = 0; i < kGpuExtensions.size(); ++i) {
        xcb_query_extension_reply_t* reply = xcb_query_extension_reply(connection, cookies[i], nullptr);
        if (reply && reply->present)
            offered.append(QString::fromLatin1(kGpuExtensions[i]));
        std::free(reply);
    }
    return offered;
}
} // namespace

bool rendersOpenGlInSoftware(const QStringList& extensions)
{
    for (const char* name : kGpuExtensions)
        if (extensions.contains(QString::fromLatin1(name)))
            return false;
    return true;
}

bool userChoseBackend(const QByteArray& quickBackend, const QByteArray& rhiBackend)
{
    return !quickBackend.trimmed().isEmpty() || !rhiBackend.trimmed().isEmpty();
}

bool choose()
{
    if (userChoseBackend(qgetenv("QT_QUICK_BACKEND"), qgetenv("QSG_RHI_BACKEND")))
        return false;
    const auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return false;
    if (!rendersOpenGlInSoftware(offeredGpuExtensions(x11->connection())))
        return false;
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    return true;
}

} // namespace SceneGraphBackend
