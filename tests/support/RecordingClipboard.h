#pragma once

#include "platform/Clipboard.h"

#include <QStringList>

// Keeps every text the application put on the clipboard, oldest first.
class RecordingClipboard final : public Clipboard {
public:
    void setText(const QString& text) override { writes.append(text); }
    QString current() const { return writes.isEmpty() ? QString() : writes.last(); }

    QStringList writes;
};
