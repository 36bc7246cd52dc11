#include "tools/space/ReverbDelayController.h"

#include "common/NumberText.h"
#include "tools/space/ReverbDelay.h"

using namespace morvela;

namespace {

QString milliseconds(double value)
{
    return QString::fromStdString(formatFixed(value, 1));
}

template <typename Row, typename Field> QStringList column(const std::vector<Row>& rows, Field field)
{
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(rows.size()));
    for (const Row& row : rows)
        texts.append(field(row));
    return texts;
}

QVariantMap option(const QString& label, const QVariant& value)
{
    return {{QStringLiteral("label"), label}, {QStringLiteral("value"), value}};
}

} // namespace

ReverbDelayController::ReverbDelayController(QObject* parent) : QObject(parent) {}

void ReverbDelayController::setCalculator(CalculatorState* calculator)
{
    if (calculator == m_calculator)
        return;
    if (m_calculator)
        disconnect(m_calculator, nullptr, this, nullptr);
    m_calculator = calculator;
    if (m_calculator) {
        connect(m_calculator, &CalculatorState::bpmChanged, this, &ReverbDelayController::valuesChanged);
        connect(m_calculator, &CalculatorState::customTotalBarsChanged, this,
                &ReverbDelayController::valuesChanged);
        connect(m_calculator, &CalculatorState::customPreDivisionChanged, this,
                &ReverbDelayController::valuesChanged);
    }
    Q_EMIT calculatorChanged();
    Q_EMIT valuesChanged();
}

QString ReverbDelayController::bar() const
{
    return milliseconds(ReverbDelay::bar(bpm()));
}

QString ReverbDelayController::beat() const
{
    return milliseconds(ReverbDelay::bar(bpm()) * 0.25);
}

QString ReverbDelayController::preSixtyFourth() const
{
    return milliseconds(ReverbDelay::bar(bpm()) * 0.015625);
}

QStringList ReverbDelayController::presetNames()
{
    return column(ReverbDelay::presets(),
                  [](const ReverbPreset& p) { return QString::fromStdString(p.name); });
}

QStringList ReverbDelayController::presetSubtitles()
{
    return column(ReverbDelay::presets(),
                  [](const ReverbPreset& p) { return QString::fromStdString(ReverbDelay::subtitle(p)); });
}

QStringList ReverbDelayController::presetPreDelays() const
{
    return column(ReverbDelay::presets(), [this](const ReverbPreset& p) {
        return milliseconds(ReverbDelay::presetTimes(p, bpm()).preDelay);
    });
}

QStringList ReverbDelayController::presetDecays() const
{
    return column(ReverbDelay::presets(), [this](const ReverbPreset& p) {
        return milliseconds(ReverbDelay::presetTimes(p, bpm()).decay);
    });
}

QStringList ReverbDelayController::presetTotals() const
{
    return column(ReverbDelay::presets(), [this](const ReverbPreset& p) {
        return milliseconds(ReverbDelay::presetTimes(p, bpm()).total);
    });
}

QVariantList ReverbDelayController::totalBarsOptions()
{
    return {option(QStringLiteral("¼"), 0.25), option(QStringLiteral("½"), 0.5),
            option(QStringLiteral("1"), 1.0),  option(QStringLiteral("2"), 2.0),
            option(QStringLiteral("4"), 4.0),  option(QStringLiteral("8"), 8.0)};
}

QVariantList ReverbDelayController::preDivisionOptions()
{
    QVariantList options;
    for (const qint64 n : {256, 128, 64, 32, 16})
        options.append(option(QStringLiteral("1/%1").arg(n), n));
    return options;
}

double ReverbDelayController::preDivisionInUse() const
{
    return static_cast<double>(ReverbDelay::preDivisionInUse(m_calculator ? m_calculator->customPreDivision()
                                                                          : ReverbDelay::defaultPreDivision));
}

QString ReverbDelayController::customPreDelay() const
{
    return milliseconds(customTimes().preDelay);
}

QString ReverbDelayController::customDecay() const
{
    return milliseconds(customTimes().decay);
}

QString ReverbDelayController::customTotal() const
{
    return milliseconds(customTimes().total);
}

QStringList ReverbDelayController::pickLabels()
{
    return column(ReverbDelay::delayPicks(),
                  [](const DelayPick& d) { return QString::fromStdString(d.label); });
}

QStringList ReverbDelayController::pickTimes() const
{
    const double length = ReverbDelay::bar(bpm());
    return column(ReverbDelay::delayPicks(),
                  [length](const DelayPick& d) { return milliseconds(length * d.barFraction); });
}

void ReverbDelayController::chooseTotalBars(double totalBars)
{
    if (m_calculator)
        m_calculator->setCustomTotalBars(totalBars);
}

void ReverbDelayController::choosePreDivision(qint64 preDivision)
{
    if (m_calculator)
        m_calculator->setCustomPreDivision(preDivision);
}

double ReverbDelayController::bpm() const
{
    return m_calculator ? m_calculator->bpm() : ReverbDelay::minimumBpm;
}

ReverbTimes ReverbDelayController::customTimes() const
{
    if (!m_calculator)
        return ReverbDelay::customTimes(1.0, ReverbDelay::defaultPreDivision, bpm());
    return ReverbDelay::customTimes(m_calculator->customTotalBars(), m_calculator->customPreDivision(),
                                    bpm());
}
