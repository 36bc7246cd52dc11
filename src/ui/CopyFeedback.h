#pragma once

#include "platform/DelayedAction.h"

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <memory>

// The behaviour of a click-to-copy value: copy() puts `text` on the clipboard and raises
// `copied` until 0.8 s after the latest click.
class CopyFeedback : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)
    Q_PROPERTY(bool copied READ copied NOTIFY copiedChanged)

public:
    explicit CopyFeedback(QObject* parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString& text);
    bool copied() const { return m_copied; }

    Q_INVOKABLE void copy();

Q_SIGNALS:
    void textChanged();
    void copiedChanged();

private:
    void setCopied(bool copied);

    QString m_text;
    bool m_copied = false;
    std::unique_ptr<DelayedAction> m_reset;
};
