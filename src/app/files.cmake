list(APPEND MUSIC_SOURCES app/ToolCatalogue.h app/ToolCatalogue.cpp)
list(APPEND UI_SOURCES app/ShellController.h app/ShellController.cpp app/AppStartup.h app/AppStartup.cpp
    app/WindowPlacement.h app/WindowPlacement.cpp app/SingleInstance.h app/SingleInstance.cpp)
list(APPEND QML_FILES app/Main.qml app/ContentView.qml app/Sidebar.qml app/SidebarToolRow.qml app/CoffeeLink.qml)
list(APPEND UI_SOURCES app/Stats.h app/Stats.cpp)
list(APPEND QML_FILES app/SettingsView.qml app/SettingsButton.qml)
