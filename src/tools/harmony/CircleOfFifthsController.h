#pragma once

#include "audio/SoundOutput.h"
#include "model/CalculatorState.h"
#include "platform/RepeatingTimer.h"
#include "platform/StateFiles.h"
#include "tools/harmony/CircleOfFifths.h"

#include <QList>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <memory>

// The Harmony screen's operations and what it shows of the selected key. The selection is
// remembered in the window state and restored when the screen is built again.
class CircleOfFifthsController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(CalculatorState* calculator READ calculator WRITE setCalculator NOTIFY calculatorChanged)

    Q_PROPERTY(int selectedIndex READ selectedIndex NOTIFY selectionChanged)
    Q_PROPERTY(bool minorSelected READ minorSelected NOTIFY selectionChanged)
    Q_PROPERTY(QString keyName READ keyName NOTIFY selectionChanged)
    Q_PROPERTY(QString signature READ signature NOTIFY selectionChanged)
    Q_PROPERTY(QString relative READ relative NOTIFY selectionChanged)
    Q_PROPERTY(QString dominant READ dominant NOTIFY selectionChanged)
    Q_PROPERTY(QString subdominant READ subdominant NOTIFY selectionChanged)
    Q_PROPERTY(QString longName READ longName NOTIFY selectionChanged)
    // The signature's accidentals two spaces apart, or "no accidentals".
    Q_PROPERTY(QString signatureNotes READ signatureNotes NOTIFY selectionChanged)
    Q_PROPERTY(QStringList scale READ scale NOTIFY selectionChanged)
    Q_PROPERTY(QStringList chords READ chords NOTIFY selectionChanged)
    Q_PROPERTY(QStringList numerals READ numerals NOTIFY selectionChanged)

    // The twelve positions of the wheel: { major, minor, signature, majorName, minorName }.
    Q_PROPERTY(QVariantList keySlots READ keySlots CONSTANT)
    // "maj-3", "min-0", or empty while the pointer is over no ring.
    Q_PROPERTY(QString hoveredSegment READ hoveredSegment NOTIFY hoveredSegmentChanged)
    // One Tint per segment: the twelve outer (major) ones, then the twelve inner ones.
    Q_PROPERTY(QList<int> segmentTints READ segmentTints NOTIFY segmentTintsChanged)
    // How long the latest change of the tints animates, in milliseconds.
    Q_PROPERTY(int tintDuration READ tintDuration NOTIFY segmentTintsChanged)

    // The loop as its chips show it: { chord, numeral, current, accessibleName } per entry.
    Q_PROPERTY(QVariantList loopChips READ loopChips NOTIFY loopChanged)
    Q_PROPERTY(bool playing READ playing NOTIFY loopChanged)
    // The position of the chord sounding now, -1 when none is (stopped, or past the end).
    Q_PROPERTY(int currentStep READ currentStep NOTIFY loopChanged)
    Q_PROPERTY(QString tempoLabel READ tempoLabel NOTIFY tempoChanged)
    Q_PROPERTY(QStringList presetNames READ presetNames NOTIFY selectionChanged)

public:
    enum Tint { Selected, Family, Hovered, Plain };
    Q_ENUM(Tint)

    static constexpr int selectionAnimationMs = 160;
    static constexpr int hoverAnimationMs = 120;

    explicit CircleOfFifthsController(QObject* parent = nullptr);
    // The screen is gone: its loop stops.
    ~CircleOfFifthsController() override;

    CalculatorState* calculator() const { return m_calculator; }
    void setCalculator(CalculatorState* calculator);

    morvela::KeySelection selection() const { return m_selection; }
    int selectedIndex() const { return static_cast<int>(m_selection.index); }
    bool minorSelected() const { return m_selection.isMinor; }
    QString keyName() const;
    QString signature() const;
    QString relative() const;
    QString dominant() const;
    QString subdominant() const;
    QString longName() const;
    QString signatureNotes() const;
    QStringList scale() const;
    QStringList chords() const;
    QStringList numerals() const;
    QVariantList keySlots() const;
    QString hoveredSegment() const { return m_hoveredSegment; }
    QList<int> segmentTints() const;
    int tintDuration() const { return m_tintDuration; }
    QVariantList loopChips() const;
    bool playing() const;
    int currentStep() const;
    QString tempoLabel() const;
    QStringList presetNames() const;

    // Seconds per chord, two beats at the tempo held to 20…400 BPM: 6.0 at or below 20 BPM
    // (and for a tempo that is not a number), 120 ÷ min(bpm, 400) above.
    static double period(double bpm);

    // Stores the selection (remembered at once); the index is wrapped onto the circle.
    Q_INVOKABLE void select(int index, bool minor);
    // A wheel segment was chosen: select its key and sound its tonic triad.
    Q_INVOKABLE void selectSegment(int index, bool minorRing);
    Q_INVOKABLE void playTonic(int index, bool minor);
    // Sounds the triad of a degree of the current key at the current a4.
    Q_INVOKABLE void playDegree(int degree);
    // A chord was tapped: append its degree to the progression, then sound it.
    Q_INVOKABLE void addDegree(int degree);
    // Removes the chord at a position of the loop; an emptied loop stops.
    Q_INVOKABLE void removeStep(int position);
    // Plays the first chord now and the next one every period after, on the loop clock.
    Q_INVOKABLE void startPlayback();
    // One tick of the loop: the next chord, at the tick's due instant.
    void advancePlayback(SoundOutput::Instant at = {});
    Q_INVOKABLE void stopPlayback();
    Q_INVOKABLE void toggle();
    Q_INVOKABLE void clear();
    // Replaces the loop with a preset of the selection's mode; a playing loop carries on.
    Q_INVOKABLE void loadPreset(int index);
    // Pointer events in the wheel's own coordinates, for a wheel of the given size. A press
    // selects only on a drawn segment and tells whether it did.
    Q_INVOKABLE void hoverAt(double x, double y, double width, double height);
    Q_INVOKABLE void hoverLeft();
    Q_INVOKABLE bool pressAt(double x, double y, double width, double height);
    // Drawing of a wheel of the given size: a segment's outline as SVG path data, and the
    // centre of its label.
    Q_INVOKABLE static QString segmentPath(int index, bool minorRing, double width, double height);
    Q_INVOKABLE static QPointF labelCentre(int index, bool minorRing, double width, double height);
    // The position `steps` fifths round the circle from `index`.
    Q_INVOKABLE static int stepIndex(int index, int steps);
    // The clipboard form of a spelled name: "B♭m" gives "Bbm".
    Q_INVOKABLE static QString plainText(const QString& name);

    // The window-state keys of the selection.
    static const QString indexKey;
    static const QString minorKey;

Q_SIGNALS:
    void calculatorChanged();
    void selectionChanged();
    void hoveredSegmentChanged();
    void segmentTintsChanged();
    void loopChanged();
    void tempoChanged();

private:
    double a4() const;
    void playDegree(int degree, SoundOutput::Instant at);
    void setHoveredSegment(const QString& id);
    void restoreSelection();

    QPointer<CalculatorState> m_calculator;
    WindowState m_windowState;
    morvela::KeySelection m_selection;
    QString m_hoveredSegment;
    int m_tintDuration = selectionAnimationMs;
    std::unique_ptr<RepeatingTimer> m_playTimer;
};
