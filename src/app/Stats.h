#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

#include <chrono>

class QQmlEngine;
class QJSEngine;

// Sends the anonymous usage events ("launch", "tool-<raw id>") as one small JSON POST each,
// unless the user has opted out. Fire and forget: every reply is ignored and released, an event
// that cannot be delivered is lost, and nothing is printed.
class Stats : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    // The collection server named in the settings window.
    Q_PROPERTY(QString host READ host CONSTANT)

public:
    // The product's collection endpoint, built on first use.
    static const QUrl& endpoint();
    // The sender the shell uses; created on first use, owned by the application object.
    static Stats& shared();
    // Routes the shell's events through another sender (tests use a loopback one); nullptr
    // restores the product's.
    static void setShared(Stats* sender);
    static Stats* create(QQmlEngine*, QJSEngine*);

    // "Mozilla/5.0 (Macintosh) MorvelaCalculator/<version>", "dev" standing in for no version.
    static QByteArray userAgent(const QString& version);
    // The compact JSON event message.
    static QByteArray eventBody(const QString& name, const QString& language);

    // The version this build was made from; empty when it has none.
    static QString productVersion();

    explicit Stats(const QUrl& target = endpoint(), const QString& version = productVersion(),
                   QObject* parent = nullptr);

    QString host() const { return endpoint().host(); }

    // Returns at once; the transfer runs without the caller, and is given up after the
    // transfer timeout (10 s) without progress.
    void track(const QString& name);
    // Tests shorten the timeout so that a silent server is given up in milliseconds.
    void setTransferTimeout(std::chrono::milliseconds timeout) { m_transferTimeout = timeout; }

private:
    QUrl m_target;
    QByteArray m_userAgent;
    std::chrono::milliseconds m_transferTimeout{10'000};
    QNetworkAccessManager m_network;
};
