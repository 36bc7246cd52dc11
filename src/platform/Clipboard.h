#pragma once

#include <QString>

// Replaces the system clipboard with a plain text. Returns at once; a failure changes nothing.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void setText(const QString& text) = 0;
};

class QtClipboard final : public Clipboard {
public:
    void setText(const QString& text) override;
};
