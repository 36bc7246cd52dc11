list(APPEND UI_SOURCES
    ui/MorvelaTheme.h ui/MorvelaTheme.cpp
    ui/CopyFeedback.h ui/CopyFeedback.cpp)
list(APPEND QML_FILES
    ui/CardSurface.qml ui/InsetSurface.qml ui/FormulaStrip.qml
    ui/Caption.qml ui/Stepper.qml ui/AccentSlider.qml ui/SegmentedPicker.qml ui/MenuButton.qml ui/ThemedMenu.qml ui/ThemedMenuItem.qml ui/TableHeaderRow.qml ui/StripedRow.qml ui/TableDivider.qml ui/CopyableValue.qml ui/MetricTile.qml ui/ToolHeader.qml ui/PremiumPanel.qml ui/PremiumInputField.qml
    ui/PremiumBackdrop.qml)
