list(APPEND UI_SOURCES app/Stats.h app/Stats.cpp)
list(APPEND QML_FILES app/SettingsView.qml app/SettingsButton.qml)
