#include "ui/CopyFeedback.h"

#include "platform/Services.h"

using namespace std::chrono_literals;

CopyFeedback::CopyFeedback(QObject* parent) : QObject(parent), m_reset(Services::timers().makeDelayedAction())
{
}

void CopyFeedback::setText(const QString& text)
{
    if (m_text == text)
        return;
    m_text = text;
    Q_EMIT textChanged();
}

void CopyFeedback::copy()
{
    Services::clipboard().setText(m_text);
    setCopied(true);
    m_reset->arm(800ms, [this] { setCopied(false); });
}

void CopyFeedback::setCopied(bool copied)
{
    if (m_copied == copied)
        return;
    m_copied = copied;
    Q_EMIT copiedChanged();
}
