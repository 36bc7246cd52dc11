#include "app/Stats.h"

#include "platform/Preferences.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QQmlEngine>

#ifndef MORVELA_VERSION
#define MORVELA_VERSION ""
#endif

namespace {

QPointer<Stats> g_product;
Stats* g_override = nullptr;

} // namespace

const QUrl& Stats::endpoint()
{
    static const QUrl url(QStringLiteral("https://stats.morvela.app/api/send"));
    return url;
}

Stats& Stats::shared()
{
    if (g_override)
        return *g_override;
    if (!g_product)
        g_product = new Stats(endpoint(), productVersion(), QCoreApplication::instance());
    return *g_product;
}

void Stats::setShared(Stats* sender)
{
    g_override = sender;
}

Stats* Stats::create(QQmlEngine*, QJSEngine*)
{
    Stats* stats = &shared();
    QQmlEngine::setObjectOwnership(stats, QQmlEngine::CppOwnership);
    return stats;
}

QString Stats::productVersion()
{
    return QStringLiteral(MORVELA_VERSION);
}

QByteArray Stats::userAgent(const QString& version)
{
    return "Mozilla/5.0 (Macintosh) MorvelaCalculator/" +
           (version.isEmpty() ? QByteArray("dev") : version.toUtf8());
}

QByteArray Stats::eventBody(const QString& name, const QString& language)
{
    const QJsonObject payload{
        {QStringLiteral("website"), QStringLiteral("7c41e0b2-9d3a-4f65-8e27-1b5a06c3d9f4")},
        {QStringLiteral("hostname"), QStringLiteral("macos-app")},
        {QStringLiteral("language"), language},
        {QStringLiteral("screen"), QString()},
        {QStringLiteral("title"), QStringLiteral("macOS")},
        {QStringLiteral("url"), QStringLiteral("/macos")},
        {QStringLiteral("name"), name},
    };
    const QJsonObject message{{QStringLiteral("type"), QStringLiteral("event")},
                              {QStringLiteral("payload"), payload}};
    return QJsonDocument(message).toJson(QJsonDocument::Compact);
}

Stats::Stats(const QUrl& target, const QString& version, QObject* parent)
    : QObject(parent), m_target(target), m_userAgent(userAgent(version)), m_network(this)
{
}

void Stats::track(const QString& name)
{
    if (Preferences::statsOptOut())
        return;

    QNetworkRequest request(m_target);
    request.setTransferTimeout(int(m_transferTimeout.count()));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray("application/json"));
    request.setHeader(QNetworkRequest::UserAgentHeader, m_userAgent);
    // The settings text promises no cookies: never send one back, never keep one.
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);

    QNetworkReply* reply = m_network.post(request, eventBody(name, QLocale::system().name()));
    connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
}
