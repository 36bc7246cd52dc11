#include "app/ShellController.h"

#include "app/Stats.h"
#include "app/ToolCatalogue.h"

#include <QMouseEvent>
#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>
#include <QVariantMap>

using namespace morvela;

namespace {
const QString kSelectedToolKey = QStringLiteral("selectedCalculatorTool");

QString qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
} // namespace

ShellController::ShellController(QObject* parent)
    : QObject(parent),
      m_selectedToolId(m_windowState.value(kSelectedToolKey, QStringLiteral("bpm")).toString())
{
}

QString ShellController::effectiveToolId() const
{
    return qs(ToolCatalogue::rawValue(ToolCatalogue::effectiveTool(m_selectedToolId.toStdString())));
}

QVariantList ShellController::tools() const
{
    QVariantList list;
    for (CalculatorTool tool : ToolCatalogue::allCases()) {
        list.append(QVariantMap{
            {QStringLiteral("rawId"), qs(ToolCatalogue::rawValue(tool))},
            {QStringLiteral("title"), qs(ToolCatalogue::title(tool))},
            {QStringLiteral("subtitle"), qs(ToolCatalogue::subtitle(tool))},
            {QStringLiteral("symbol"), qs(ToolCatalogue::symbol(tool))},
            {QStringLiteral("tint"), qs(ToolCatalogue::tint(tool))},
        });
    }
    return list;
}

void ShellController::select(const QString& rawId)
{
    m_selectedToolId = rawId;
    m_windowState.setValue(kSelectedToolKey, rawId);
    Q_EMIT selectionChanged();
    recordUsage(QStringLiteral("tool-") + rawId);
}

void ShellController::contentShown(QQuickWindow* window)
{
    const auto report = [this] { recordUsage(QStringLiteral("launch")); };
    if (!window) {
        report();
        return;
    }
    // frameSwapped comes from the render thread: the report is queued to this one.
    connect(window, &QQuickWindow::frameSwapped, this, report,
            static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
    window->installEventFilter(this);
}

// A text field commits what was typed when it loses the focus. A press anywhere outside it ends the
// editing once the press has been delivered: a control that takes the focus has it by then, and
// where the press lands on something that takes none (a caption, a panel, a flickable's
// background, a button that leaves the focus where it is), the field gives it up.
bool ShellController::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseButtonPress)
        return false;
    auto* window = qobject_cast<QQuickWindow*>(watched);
    QQuickItem* editing = window ? window->activeFocusItem() : nullptr;
    if (!editing || !editing->inherits("QQuickTextInput"))
        return false;
    // A field may name the larger area that belongs to it, such as its box.
    auto* area = editing->property("editingArea").value<QQuickItem*>();
    if (!area)
        area = editing;
    if (area->contains(area->mapFromScene(static_cast<QMouseEvent*>(event)->scenePosition())))
        return false;
    QMetaObject::invokeMethod(
        this,
        [field = QPointer<QQuickItem>(editing)] {
            if (field && field->hasActiveFocus())
                field->setFocus(false, Qt::MouseFocusReason);
        },
        Qt::QueuedConnection);
    return false;
}

QString ShellController::summary(double a4, double bpm) const
{
    return qs(ToolCatalogue::sidebarSummary(a4, bpm));
}

void ShellController::recordUsage(const QString& eventName)
{
    Stats::shared().track(eventName);
    Q_EMIT usageRecorded(eventName);
}
