#pragma once

#include "platform/StateFiles.h"

#include <QObject>
#include <QString>
#include <QVariantList>
#include <QQuickWindow>
#include <QtQml/qqmlregistration.h>

// The root window's navigation: which tool is selected (remembered per window), which one
// the detail pane shows, the catalogue for the sidebar and the sidebar summary.
class ShellController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString selectedToolId READ selectedToolId NOTIFY selectionChanged)
    Q_PROPERTY(QString effectiveToolId READ effectiveToolId NOTIFY selectionChanged)
    Q_PROPERTY(QVariantList tools READ tools CONSTANT)

public:
    explicit ShellController(QObject* parent = nullptr);

    QString selectedToolId() const { return m_selectedToolId; }
    QString effectiveToolId() const;
    QVariantList tools() const;

    // A click on a tool row: store the choice (also when it is already selected), then
    // report the usage event.
    Q_INVOKABLE void select(const QString& rawId);
    // The root window's content has been shown: reports the launch, after `window`'s first frame
    // when given (the first report loads the TLS libraries, which would hold that frame up), and
    // from then on a press outside the text field being edited in `window` ends its editing.
    Q_INVOKABLE void contentShown(QQuickWindow* window = nullptr);
    Q_INVOKABLE QString summary(double a4, double bpm) const;

    bool eventFilter(QObject* watched, QEvent* event) override;

Q_SIGNALS:
    void selectionChanged();
    // A usage event has been handed to the statistics sender.
    void usageRecorded(const QString& eventName);

private:
    // The one place where the shell hands usage events ("launch", "tool-<raw id>") on.
    void recordUsage(const QString& eventName);

    WindowState m_windowState;
    QString m_selectedToolId;
};
